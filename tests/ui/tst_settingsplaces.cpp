// The Settings dialog with the native store of a scratch profile, and the Wine prefix row.
#include "fs/drivemap.h"
#include "settingsrig.h"
#include "support/tempenvironment.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace huddlex;
using namespace huddlex::test;
using huddlex::ui::frmSettings;

class TestSettingsPlaces : public QObject {
    Q_OBJECT
private slots:
    void init() {
        store_ = LoggingStore();
        paths_ = startingPaths();
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
    LoggingStore store_;
    GamePaths paths_;
};

QTEST_MAIN(TestSettingsPlaces)
#include "tst_settingsplaces.moc"
