#include "help/helprecorder.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "settingsrig.h"
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
using namespace huddlex::test;
using huddlex::ui::frmSettings;

class TestSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void init() {
        store_ = LoggingStore();
        paths_ = startingPaths();
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
