#include "fs/drivemap.h"
#include "help/helprecorder.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "support/tempenvironment.h"
#include "ui/contextids.h"
#include "ui/dialogs.h"
#include "ui/settingsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

using namespace huddlex;
using huddlex::test::TempEnvironment;
using huddlex::ui::frmSettings;

namespace {

// A store that remembers every write, in order, as "Key=value".
class LoggingStore final : public SettingsStore {
public:
    QString read(const QString& key, const std::optional<QString>& fallback) const override {
        return values.contains(key) ? values.value(key) : fallback.value_or(QString());
    }
    WriteFailure write(const QString& key, const QString& value) override {
        writes << key + QLatin1Char('=') + value;
        if (failWrites)
            return failWrites;
        values.insert(key, value);
        return std::nullopt;
    }
    std::optional<QString> failWrites;
    QMap<QString, QString> values;
    QStringList writes;
};

const QString v97 = QStringLiteral("\\Sierra\\FBPro97\\");
const QString v98 = QStringLiteral("\\Sierra\\FBPro98\\");

template <typename T> T* control(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// What the game folder line under the controls says, and its tool tip, as plain text.
QString hintOf(QWidget& dialog) {
    QTextDocument document;
    document.setHtml(control<QLabel>(dialog, "lblGameFolder")->text());
    return document.toPlainText();
}

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void init() {
        store_ = LoggingStore();
        paths_ = GamePaths();
        paths_.gFBDrive = QStringLiteral("C:");
        paths_.gFBVer = v97;
        paths_.gFBPlayFolder = QStringLiteral("untouched");
        drives_ = {QStringLiteral("c:"), QStringLiteral("d:")};
    }

    void firstOpeningOnEmptyStoreWritesNothing() {
        frmSettings dialog(store_, paths_, nullptr, source());
        QCOMPARE(dialog.objectName(), QStringLiteral("frmSettings"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
        QCOMPARE(control<QComboBox>(dialog, "Drive1")->currentText(), QStringLiteral("c:"));
        QCOMPARE(control<QLineEdit>(dialog, "txtPlayFolder")->text(), QStringLiteral("VPNFL"));
        QVERIFY(control<QCheckBox>(dialog, "chkCapPlans")->isChecked());
        QVERIFY(control<QCheckBox>(dialog, "chkCapPlays")->isChecked());
        QVERIFY(!control<QRadioButton>(dialog, "optVersion_0")->isChecked());
        QVERIFY(!control<QRadioButton>(dialog, "optVersion_1")->isChecked());
        QCOMPARE(store_.writes, QStringList());
        QCOMPARE(paths_.gFBDrive, QStringLiteral("C:"));
    }

    // Filling writes back each value that changed a control, in the order it is filled.
    void fillingWritesBackWhatItRead() {
        store_.values = {{"FBDrive", "D:"},
                         {"FBPlayFolder", "Plays"},
                         {"FBVer", v98},
                         {"CapPlans", "0"},
                         {"CapPlays", "0"}};
        paths_.gFBVer = v97;
        frmSettings dialog(store_, paths_, nullptr, source());
        QCOMPARE(store_.writes, (QStringList{"FBDrive=d:", "FBPlayFolder=Plays", "CapPlays=0",
                                             "CapPlans=0", "FBVer=" + v98}));
        QCOMPARE(paths_.gFBDrive, QStringLiteral("d:"));
        QCOMPARE(paths_.gFBVer, v98);
        QCOMPARE(paths_.gFBPlayFolder, QStringLiteral("untouched"));
        QVERIFY(control<QRadioButton>(dialog, "optVersion_1")->isChecked());
        QVERIFY(!control<QCheckBox>(dialog, "chkCapPlans")->isChecked());
    }

    void fillingLeavesOtherValuesAlone_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("version neither 97 nor 98") << "FBVer"
                                                   << "\\Games\\FBPro\\";
        QTest::newRow("empty play folder") << "FBPlayFolder"
                                           << "";
        QTest::newRow("drive in capitals") << "FBDrive"
                                           << "C:";
        QTest::newRow("capture switch on") << "CapPlans"
                                           << "1";
    }
    void fillingLeavesOtherValuesAlone() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        store_.values.insert(key, stored);
        { frmSettings dialog(store_, paths_, nullptr, source()); }
        QCOMPARE(store_.values.value(key), stored);
        QVERIFY(store_.writes.size() <= 1);
    }

    void versionButtonsMoveTheGameFolderAtOnce() {
        frmSettings dialog(store_, paths_, nullptr, source());
        QTest::mouseClick(control<QRadioButton>(dialog, "optVersion_1"), Qt::LeftButton);
        QCOMPARE(store_.values.value("FBVer"), v98);
        QCOMPARE(paths_.gameFolder(), QStringLiteral("C:\\Sierra\\FBPro98\\"));
        QTest::mouseClick(control<QRadioButton>(dialog, "optVersion_0"), Qt::LeftButton);
        QCOMPARE(store_.values.value("FBVer"), v97);
        QCOMPARE(paths_.gameFolder(), QStringLiteral("C:\\Sierra\\FBPro97\\"));
        QVERIFY(!control<QRadioButton>(dialog, "optVersion_1")->isChecked());
    }

    void everyKeystrokeOfThePlayFolderIsWritten() {
        frmSettings dialog(store_, paths_, nullptr, source());
        auto* box = control<QLineEdit>(dialog, "txtPlayFolder");
        box->clear();
        QTest::keyClicks(box, QStringLiteral("ABC"));
        QCOMPARE(store_.writes, (QStringList{"FBPlayFolder=", "FBPlayFolder=A", "FBPlayFolder=AB",
                                             "FBPlayFolder=ABC"}));
        QCOMPARE(paths_.gFBPlayFolder, QStringLiteral("untouched"));
    }

    void captureBoxesWriteOneOrZero() {
        frmSettings dialog(store_, paths_, nullptr, source());
        auto* plans = control<QCheckBox>(dialog, "chkCapPlans");
        QTest::mouseClick(plans, Qt::LeftButton);
        QCOMPARE(store_.values.value("CapPlans"), QStringLiteral("0"));
        QTest::mouseClick(plans, Qt::LeftButton);
        QTest::mouseClick(control<QCheckBox>(dialog, "chkCapPlays"), Qt::LeftButton);
        QCOMPARE(store_.writes, (QStringList{"CapPlans=0", "CapPlans=1", "CapPlays=0"}));
    }

    void pickingADriveMovesTheGameFolder() {
        frmSettings dialog(store_, paths_, nullptr, source());
        control<QComboBox>(dialog, "Drive1")->setCurrentIndex(1);
        QCOMPARE(store_.writes, QStringList{"FBDrive=d:"});
        QCOMPARE(paths_.gameFolder(), QStringLiteral("d:\\Sierra\\FBPro97\\"));
    }

    void reopeningShowsWhatWasLastWritten() {
        {
            frmSettings dialog(store_, paths_, nullptr, source());
            control<QComboBox>(dialog, "Drive1")->setCurrentIndex(1);
            control<QLineEdit>(dialog, "txtPlayFolder")->setText(QStringLiteral("NFL97"));
            QTest::mouseClick(control<QRadioButton>(dialog, "optVersion_1"), Qt::LeftButton);
            QTest::mouseClick(control<QCheckBox>(dialog, "chkCapPlays"), Qt::LeftButton);
        }
        const int written = store_.writes.size();
        frmSettings again(store_, paths_, nullptr, source());
        QCOMPARE(control<QComboBox>(again, "Drive1")->currentText(), QStringLiteral("d:"));
        QCOMPARE(control<QLineEdit>(again, "txtPlayFolder")->text(), QStringLiteral("NFL97"));
        QVERIFY(control<QRadioButton>(again, "optVersion_1")->isChecked());
        QVERIFY(!control<QCheckBox>(again, "chkCapPlays")->isChecked());
        QVERIFY(control<QCheckBox>(again, "chkCapPlans")->isChecked());
        // Only the values that changed a control are written back, each as it was.
        const QStringList writtenBack = store_.writes.mid(written);
        QCOMPARE(writtenBack,
                 (QStringList{"FBDrive=d:", "FBPlayFolder=NFL97", "CapPlays=0", "FBVer=" + v98}));
    }

    // A drive this machine does not have is shown as stored and can be replaced.
    void unavailableStoredDriveIsShownAsStored_data() {
        QTest::addColumn<QStringList>("drives");
        QTest::addColumn<QString>("stored");
        QTest::newRow("drive not present") << QStringList{"c:", "d:"} << "Q:";
        QTest::newRow("not a drive at all") << QStringList{"c:"} << "hello";
        QTest::newRow("no drives known") << QStringList{} << "C:";
    }
    void unavailableStoredDriveIsShownAsStored() {
        QFETCH(QStringList, drives);
        QFETCH(QString, stored);
        drives_ = drives;
        store_.values.insert("FBDrive", stored);
        frmSettings dialog(store_, paths_, nullptr, source());
        auto* list = control<QComboBox>(dialog, "Drive1");
        QCOMPARE(list->currentText(), stored);
        QVERIFY(!list->itemData(list->currentIndex(), Qt::ToolTipRole).toString().isEmpty());
        QCOMPARE(store_.values.value("FBDrive"), stored);
        QCOMPARE(list->count(), drives.size() + 1);
        if (drives.isEmpty())
            return;
        list->setCurrentIndex(list->findText(drives.first()));
        QCOMPARE(store_.values.value("FBDrive"), drives.first());
        list->setCurrentIndex(list->findText(stored));
        QCOMPARE(store_.values.value("FBDrive"), stored);
        QCOMPARE(paths_.gFBDrive, stored);
    }

    // The list is read again when it drops down; the drive shown stays, nothing is written.
    void driveGoneWhileOpenStaysShown() {
        frmSettings dialog(store_, paths_, nullptr, source());
        auto* list = control<QComboBox>(dialog, "Drive1");
        list->setCurrentIndex(1);
        const int written = store_.writes.size();
        drives_ = {QStringLiteral("c:"), QStringLiteral("e:")};
        dialog.refreshDrives();
        QCOMPARE(list->currentText(), QStringLiteral("d:"));
        QCOMPARE(store_.writes.size(), written);
        QVERIFY(list->findText(QStringLiteral("e:")) >= 0);
        drives_ = {QStringLiteral("c:"), QStringLiteral("d:")};
        dialog.refreshDrives();
        QCOMPARE(list->currentText(), QStringLiteral("d:"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(store_.writes.size(), written);
    }

    // A notch of the wheel over the drive list on the way elsewhere changes nothing; once the
    // list has the focus, the wheel picks drives as usual.
    void wheelPicksADriveOnlyWithTheFocus() {
        frmSettings dialog(store_, paths_, nullptr, source());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* list = control<QComboBox>(dialog, "Drive1");
        auto* folder = control<QLineEdit>(dialog, "txtPlayFolder");
        const auto notch = [list] {
            const QPointF at = list->rect().center();
            QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
        };
        folder->setFocus();
        notch();
        QCOMPARE(list->currentText(), QStringLiteral("c:"));
        QVERIFY(folder->hasFocus()); // the wheel did not take the focus either
        QCOMPARE(store_.writes, QStringList());
        list->setFocus();
        notch();
        QCOMPARE(list->currentText(), QStringLiteral("d:"));
        QCOMPARE(store_.writes, QStringList{"FBDrive=d:"});
    }

    // A settings file that does not read as settings: the dialog shows the defaults, opening and
    // closing it writes nothing, and a change keeps the file aside before anything is written.
    void malformedSettingsFile() {
        test::TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        const QString fileName = store.fileName();
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        const QByteArray garbage("[Settings]\nFBDrive=\"D:\n\x01\x02[[[=\nCapPlays=0\n");
        {
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        GamePaths paths;
        paths.readFrom(store);
        {
            // Even where filling changes a control (no drive C: to show the default on).
            frmSettings dialog(store, paths, nullptr, [] { return QStringList{"d:"}; });
            QCOMPARE(control<QComboBox>(dialog, "Drive1")->currentText(), QStringLiteral("C:"));
        }
        QCOMPARE(test::TempEnvironment::readHostFile(fileName), garbage);
        for (const bool change : {false, false, true}) {
            QTimer::singleShot(0, [change] {
                QWidget* dialog = QApplication::activeModalWidget();
                QVERIFY(dialog);
                QCOMPARE(control<QComboBox>(*dialog, "Drive1")->currentText(),
                         QStringLiteral("c:"));
                QCOMPARE(control<QLineEdit>(*dialog, "txtPlayFolder")->text(),
                         QStringLiteral("VPNFL"));
                QVERIFY(control<QCheckBox>(*dialog, "chkCapPlays")->isChecked());
                if (change)
                    QTest::mouseClick(control<QRadioButton>(*dialog, "optVersion_1"),
                                      Qt::LeftButton);
                dialog->close();
            });
            ShowSettingsDialog(store, paths, nullptr);
            if (!change) {
                QCOMPARE(test::TempEnvironment::readHostFile(fileName), garbage);
                QVERIFY(!QFileInfo::exists(fileName + ".bad"));
            }
        }
        QCOMPARE(test::TempEnvironment::readHostFile(fileName + ".bad"), garbage);
        QCOMPARE(NativeSettingsStore(QStringLiteral("huddlex")).read("FBVer"), v98);
        QVERIFY(!NativeSettingsStore(QStringLiteral("huddlex")).contains("FBDrive"));
        QCOMPARE(paths.gameFolder(), QStringLiteral("C:\\Sierra\\FBPro98\\"));
    }

    void layoutTexts() {
        frmSettings dialog(store_, paths_, nullptr, source());
        QCOMPARE(control<QLabel>(dialog, "Label1")->text(), QStringLiteral("Drive for FBPro:"));
        QCOMPARE(control<QLabel>(dialog, "Label2")->text(), QStringLiteral("Main Play Folder:"));
        QCOMPARE(control<QGroupBox>(dialog, "fraVersion")->title(),
                 QStringLiteral("FBPro Version"));
        QCOMPARE(control<QGroupBox>(dialog, "fraCapture")->title(),
                 QStringLiteral("Transfered Files"));
        QCOMPARE(control<QRadioButton>(dialog, "optVersion_1")->text(), QStringLiteral("FBPro 98"));
        QCOMPARE(control<QCheckBox>(dialog, "chkCapPlays")->text(),
                 QStringLiteral("Capture Plays"));
        // The designed part keeps its shape; what was added lies below it, inside the dialog.
        const QRect designed = control<QGroupBox>(dialog, "fraVersion")
                                   ->geometry()
                                   .united(control<QComboBox>(dialog, "Drive1")->geometry());
        QVERIFY(designed.width() < designed.height() * 2 && designed.width() > designed.height());
        const QRect hint = control<QLabel>(dialog, "lblGameFolder")->geometry();
        QVERIFY(hint.top() > designed.bottom());
        QVERIFY(dialog.rect().contains(hint));
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->objectName() != "lblGameFolder" && child->objectName() != "lblNotSaved" &&
                !child->isWindow())
                QVERIFY2(child->geometry().bottom() < hint.top(), qPrintable(child->objectName()));
        }
    }

    // A change the store cannot keep is still in use and says so under the controls, until a
    // write succeeds.
    void aChangeThatCannotBeSavedSaysSo() {
        frmSettings dialog(store_, paths_, nullptr, source());
        auto* notSaved = control<QLabel>(dialog, "lblNotSaved");
        const int height = dialog.height();
        store_.failWrites = QStringLiteral("The settings could not be saved to x: access denied.");
        QTest::mouseClick(control<QRadioButton>(dialog, "optVersion_1"), Qt::LeftButton);
        QCOMPARE(paths_.gFBVer, v98);
        QVERIFY(!notSaved->isHidden() && notSaved->toolTip().contains("access denied"));
        QVERIFY(dialog.height() > height && dialog.rect().contains(notSaved->geometry()));
        store_.failWrites.reset();
        control<QCheckBox>(dialog, "chkCapPlans")->click();
        QVERIFY(notSaved->isHidden());
    }

    void f1AsksForTheSettingsTopic() {
        test::HelpRecorder help;
        ContextIDs::InitHelp(nullptr);
        frmSettings dialog(store_, paths_, nullptr, source());
        dialog.show();
        QTest::keyClick(control<QLineEdit>(dialog, "txtPlayFolder"), Qt::Key_F1);
        QCOMPARE(help.topics, QList<int>{ContextIDs::frmSettings});
    }

    // From the menu: the real drive list of a scratch Wine prefix, the native store in a
    // scratch config folder, and the dialog closed from inside its own modal loop.
    void shownModallyWithTheNativeStore() {
        test::TempEnvironment env;
        NativeSettingsStore store(QStringLiteral("huddlex"));
        GamePaths paths;
        paths.readFrom(store);
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == QLatin1String("frmSettings"));
            QCOMPARE(control<QComboBox>(*dialog, "Drive1")->currentText(), QStringLiteral("c:"));
            QTest::mouseClick(control<QRadioButton>(*dialog, "optVersion_1"), Qt::LeftButton);
            dialog->close();
        });
        ShowSettingsDialog(store, paths, nullptr);
        QCOMPARE(paths.gameFolder(), QStringLiteral("C:\\Sierra\\FBPro98\\"));
        QCOMPARE(NativeSettingsStore(QStringLiteral("huddlex")).read("FBVer"), v98);
        QVERIFY(store.fileName().startsWith(env.configHome()));
    }

    // The prefix row lists the default rule and the prefixes found, the game's first, and
    // follows the other controls in the tab order. Opening writes nothing; a choice is stored
    // and taken by the drive mapping at once, and the drive list and the game folder under the
    // controls follow it, as they follow the version.
    void winePrefixRowChoosesThePrefix() {
        test::TempEnvironment env;
        TempEnvironment::makeWinePrefix(env.root() + "/Games/aa");
        const QString fb =
            TempEnvironment::makeWinePrefix(env.root() + "/Games/fb", {"Sierra/FBPro97"});
        QDir().mkpath(fb + "/dosdevices");
        QVERIFY(QFile::link(env.root(), fb + "/dosdevices/d:"));
        frmSettings dialog(store_, paths_, nullptr, {}, {});
        auto* list = control<QComboBox>(dialog, "cboWinePrefix");
        QCOMPARE(control<QLabel>(dialog, "Label3")->text(), QStringLiteral("Wine prefix:"));
        QCOMPARE(entries(list),
                 (QStringList{"Default: ~/wine", "~/Games/fb - FBPro 97", "~/Games/aa"}));
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(store_.writes, QStringList());
        QCOMPARE(hintOf(dialog),
                 "Game folder not found:\nC:\\Sierra\\FBPro97\\\n~/wine/drive_c/Sierra/FBPro97");

        QWidget* chain = control<QLineEdit>(dialog, "txtPlayFolder");
        for (const char* next : {"optVersion_0", "optVersion_1", "Drive1", "chkCapPlans",
                                 "chkCapPlays", "cboWinePrefix", "cmdBrowsePrefix"}) {
            do
                chain = chain->nextInFocusChain();
            while (!(chain->focusPolicy() & Qt::TabFocus));
            QCOMPARE(chain->objectName(), QString(next));
        }

        list->setCurrentIndex(1);
        QCOMPARE(store_.writes, QStringList{"WinePrefix=" + fb});
        QCOMPARE(fs::DriveMap::winePrefix(), fb);
        QCOMPARE(entries(control<QComboBox>(dialog, "Drive1")), (QStringList{"c:", "d:"}));
        QCOMPARE(hintOf(dialog),
                 "Game folder:\nC:\\Sierra\\FBPro97\\\n~/Games/fb/drive_c/Sierra/FBPro97");
        QTest::mouseClick(control<QRadioButton>(dialog, "optVersion_1"), Qt::LeftButton);
        QVERIFY(hintOf(dialog).startsWith("Game folder not found:\nC:\\Sierra\\FBPro98\\\n"));
        const QString tip = control<QLabel>(dialog, "lblGameFolder")->toolTip();
        QVERIFY(tip.contains(fb + "/drive_c/Sierra/FBPro98") && tip.contains("View, Settings"));

        list->setCurrentIndex(0); // back to $WINEPREFIX: stored empty, the old rule again
        QCOMPARE(store_.values.value("WinePrefix", "-"), QString());
        QCOMPARE(fs::DriveMap::winePrefix(), env.root() + "/wine");
        QCOMPARE(entries(control<QComboBox>(dialog, "Drive1")), QStringList{"c:"});
    }

    // Any folder can be chosen, a prefix's drive_c standing for the prefix; cancelling changes
    // nothing. The prefix of a session (huddlex --wine-prefix) is shown as such, even when it is
    // gone, and looking at it stores nothing.
    void browseAndSessionPrefixes() {
        test::TempEnvironment env;
        const QString fb =
            TempEnvironment::makeWinePrefix(env.root() + "/elsewhere/fb", {"Sierra/FBPro97"});
        QStringList answers{QString(), fb + "/drive_c"};
        QStringList starts;
        const ui::PrefixSources sources{{}, [&](QWidget* parent, const QString& start) {
                                            // asked over the dialog, from where it would start
                                            starts << parent->objectName() + ' ' + start;
                                            return answers.takeFirst();
                                        }};
        {
            frmSettings dialog(store_, paths_, nullptr, {}, sources);
            auto* list = control<QComboBox>(dialog, "cboWinePrefix");
            auto* browse = control<QToolButton>(dialog, "cmdBrowsePrefix");
            QTest::mouseClick(browse, Qt::LeftButton);
            QCOMPARE(store_.writes, QStringList());
            QCOMPARE(list->count(), 1);
            QTest::mouseClick(browse, Qt::LeftButton);
            QCOMPARE(list->currentText(), QString("~/elsewhere/fb - FBPro 97"));
            QCOMPARE(store_.writes, QStringList{"WinePrefix=" + fb});
        }
        QCOMPARE(starts, QStringList(2, "frmSettings " + env.root() + "/wine"));

        fs::DriveMap::setWinePrefix(env.root() + "/gone");
        frmSettings session(store_, paths_, nullptr, {}, sources);
        auto* list = control<QComboBox>(session, "cboWinePrefix");
        QCOMPARE(list->currentText(), QString("~/gone (this session)"));
        QVERIFY(list->toolTip().startsWith("This folder does not exist now"));
        QVERIFY(entries(list).contains("~/elsewhere/fb - FBPro 97"));
        QVERIFY(hintOf(session).endsWith("~/gone/drive_c/Sierra/FBPro97"));
        QCOMPARE(store_.writes.size(), 1);
    }

private:
    frmSettings::DriveSource source() {
        return [this] { return drives_; };
    }

    LoggingStore store_;
    GamePaths paths_;
    QStringList drives_;
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
