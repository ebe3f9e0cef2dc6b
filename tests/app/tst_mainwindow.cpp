#include "controllerfixture.h"
#include "help/contextids.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"
#include "ui/twips.h"

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace huddlex;
using huddlex::test::ControllerFixture;
using ui::MenuArray;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void layoutAsDesigned() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        QCOMPARE(w.objectName(), QString("frmMain"));
        QCOMPARE(w.windowTitle(), QString("Huddlex"));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(w.centralWidget()->size(), QSize(ui::twips(2325), ui::twips(1485)));
        // Indices count the separator; bLog shows the book, bView the eye.
        QCOMPARE(w.toolbarButton(1)->objectName(), QString("bStart"));
        QVERIFY(!w.toolbarButton(3));
        QCOMPARE(w.toolbarButton(4)->objectName(), QString("bValidate"));
        QCOMPARE(w.toolbarButton(7)->objectName(), QString("bHelp"));
        QCOMPARE(w.toolbarButton(1)->toolTip(), QString("Start - capture plans & plays"));
        QVERIFY(w.findChild<QToolButton*>("bLog"));
        QVERIFY(w.findChild<ui::UnknownList*>("lstUnknown")->isHidden());
        QVERIFY(w.findChild<QProgressBar*>("ProgressBar1")->isHidden());
        QCOMPARE(w.lstUnknown().palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(w.menuItem(MenuArray::mnuFile, 4)->text(), QString("E&xit"));
        QVERIFY(w.menuItem(MenuArray::mnuEdit, 3)->isSeparator());
        QCOMPARE(w.menuItem(MenuArray::mnuView, 4)->property(ContextIDs::contextProperty).toInt(),
                 290);
    }

    void command1LiesOutsideTheClientArea() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* command1 = w.findChild<QPushButton*>("Command1");
        QVERIFY(!w.centralWidget()->rect().intersects(command1->geometry()));
        QVERIFY(command1->focusPolicy() & Qt::TabFocus);
    }

    void placementKeepsTheWindowOnScreen_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<bool>("designed");
        QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << true;
        QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << false;
        QTest::newRow("second screen to the left") << QRect(-640, 0, 640, 480) << false;
    }
    void placementKeepsTheWindowOnScreen() {
        QFETCH(QRect, screen);
        QFETCH(bool, designed);
        const QSize frame(ui::twips(2325) + 8, ui::twips(1485) + 50);
        const QPoint offset(4, 46);
        const QPoint at = ui::MainWindow::placement(screen, frame, offset);
        QVERIFY(screen.contains(QRect(at, frame)));
        QCOMPARE(at == QPoint(ui::twips(12480), ui::twips(9195)) - offset, designed);
    }

    void toolbarAndMenuStartStop() {
        ControllerFixture f;
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        auto buttonsEnabled = [&] {
            QList<bool> states;
            for (int i : {4, 5, 6, 7})
                states << w.toolbarButton(i)->isEnabled();
            return states;
        };
        w.toolbarButton(1)->trigger();
        QVERIFY(w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{false, false, false, false}));
        QCOMPARE(w.panelText(1), QString("Status: Running"));

        c.mnuFile_Click(2); // menu Stop leaves the toolbar alone
        QCOMPARE(w.panelText(1), QString("Status: Stop"));
        QVERIFY(w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{false, false, false, false}));
        QVERIFY(!c.capture().isTimerEnabled(CaptureEngine::TimerId::timerPlay));

        w.toolbarButton(2)->trigger();
        QVERIFY(!w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{true, true, true, true}));

        c.mnuFile_Click(1); // menu Start: running, buttons untouched
        QCOMPARE(w.panelText(1), QString("Status: Running"));
        QVERIFY(!w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{true, true, true, true}));
    }

    void startWithBothSwitchesOff() {
        ControllerFixture f;
        f.store.write(keys::CapPlans, "0");
        f.store.write(keys::CapPlays, "0");
        MainController& c = f.load();
        c.mnuFile_Click(1);
        QCOMPARE(c.window().panelText(1), QString("Status: Running"));
        QVERIFY(!c.capture().isTimerEnabled(CaptureEngine::TimerId::Timer1));
        QVERIFY(!c.capture().isTimerEnabled(CaptureEngine::TimerId::timerPlay));
    }

    void alwaysOnTopTwiceReturnsToNormal() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        w.show();
        QVERIFY(!w.mnuOnTop()->isChecked());
        w.mnuOnTop()->trigger();
        QVERIFY(w.mnuOnTop()->isChecked());
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w.isVisible());
        w.mnuOnTop()->trigger();
        QVERIFY(!w.mnuOnTop()->isChecked());
        QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
    }

    void routing() {
        ControllerFixture f;
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        w.menuItem(MenuArray::mnuView, 4)->trigger();
        QCOMPARE(f.settingsOpened, 1);
        w.menuItem(MenuArray::mnuHelp, 3)->trigger();
        QCOMPARE(f.aboutOpened, 1);
        w.menuItem(MenuArray::mnuHelp, 1)->trigger();
        w.toolbarButton(7)->trigger();
        QCOMPARE(f.help.calls, (QStringList{"contents", "contents"}));
        c.mnuHelp_Click(2);               // separator
        c.Toolbar1_ButtonClick("bstart"); // keys compare exactly
        QCOMPARE(w.panelText(1), QString("Status: Stop"));
        w.menuItem(MenuArray::mnuFile, 4)->trigger();
        QCOMPARE(f.exits, 1);
        QVERIFY(!f.help.calls.contains("quit")); // Exit skips the unload handler
        w.close();
        QVERIFY(f.help.calls.contains("quit"));
    }

    void toolbarValidateLetsEventsRunFirst() {
        ControllerFixture f;
        MainController& c = f.load();
        c.mnuEdit_Click(1);
        QCOMPARE(f.eventPasses, 0);
        c.window().toolbarButton(4)->trigger();
        QCOMPARE(f.eventPasses, 1);
        c.window().toolbarButton(5)->trigger();
        QCOMPARE(f.eventPasses, 2);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
