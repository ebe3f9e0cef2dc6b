#include "controllerfixture.h"
#include "ui/contextids.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"
#include "ui/twips.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <cstdlib>

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
        // Never smaller than designed (2325 x 1485 twips), and grown by one factor at most, so
        // the proportions stay as designed (up to rounding).
        const QSize client = w.centralWidget()->size();
        QVERIFY(client.width() >= ui::twips(2325) && client.height() >= ui::twips(1485));
        QVERIFY(std::abs(client.width() * 1485 - client.height() * 2325) <= 2325 + 1485);
        // Indices count the separator; bLog shows the book, bView the eye.
        QCOMPARE(w.toolbarButton(1)->objectName(), QString("bStart"));
        QVERIFY(!w.toolbarButton(3));
        QCOMPARE(w.toolbarButton(4)->objectName(), QString("bValidate"));
        QCOMPARE(w.toolbarButton(7)->objectName(), QString("bHelp"));
        QCOMPARE(w.toolbarButton(1)->toolTip(), QString("Start - capture plans & plays"));
        QVERIFY(w.findChild<QToolButton*>("bLog"));
        QVERIFY(w.findChild<ui::UnknownList*>("lstUnknown")->isHidden());
        // Shown, it hides File1 whole.
        QVERIFY(w.lstUnknown().geometry().contains(w.File1().geometry()));
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

    // The designed offset from the lower right corner of the available area, which on a bare
    // 1024 x 768 screen is the designed spot; a panel moves it, a screen too small clamps it.
    void placementKeepsTheDesignedCornerOffset_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("clientBottomRight"); // exclusive; null: clamped instead
        const QPoint gap(ui::twips(555), ui::twips(840));
        QTest::newRow("1024 x 768: the designed spot")
            << QRect(0, 0, 1024, 768) << QPoint(ui::twips(12480 + 2325), ui::twips(9195 + 1485));
        QTest::newRow("1920 x 1080: lower right, not the middle")
            << QRect(0, 0, 1920, 1080) << QPoint(1920, 1080) - gap;
        QTest::newRow("1024 x 768, panel at the bottom")
            << QRect(0, 0, 1024, 728) << QPoint(1024, 728) - gap;
        QTest::newRow("1920 x 1080, panel on the left and at the top")
            << QRect(64, 32, 1856, 1048) << QPoint(1920, 1080) - gap;
        QTest::newRow("second screen to the left")
            << QRect(-1280, 0, 1280, 1024) << QPoint(0, 1024) - gap;
        QTest::newRow("screen smaller than the window") << QRect(0, 0, 120, 90) << QPoint();
    }
    void placementKeepsTheDesignedCornerOffset() {
        QFETCH(QRect, available);
        QFETCH(QPoint, clientBottomRight);
        const QSize clientSize(ui::twips(2325), ui::twips(1485));
        const QSize frame(clientSize.width() + 8, clientSize.height() + 50);
        const QRect client(QPoint(4, 46), clientSize); // within the frame
        const QPoint at = ui::MainWindow::placement(available, frame, client);
        if (clientBottomRight.isNull()) {
            QCOMPARE(at, available.topLeft());
            return;
        }
        QVERIFY(available.contains(QRect(at, frame)));
        QCOMPARE(at + client.topLeft() + QPoint(clientSize.width(), clientSize.height()),
                 clientBottomRight);
        if (available == QRect(0, 0, 1024, 768))
            QCOMPARE(at + client.topLeft(), QPoint(ui::twips(12480), ui::twips(9195)));
    }

    // Every text of panel 1 can be read whole in the window's font, also after it changes;
    // panel 2 keeps its designed share and still shows a two-digit count.
    void panelOneFitsItsLongestText() {
        ControllerFixture f;
        ui::MainWindow& w = f.load().window();
        auto* panel1 = w.findChild<QLabel*>("Panel1");
        auto* panel2 = w.findChild<QLabel*>("Panel2");
        auto* bar = w.findChild<QWidget*>("StatusBar1");
        for (const int pointSize : {0, 14}) {
            if (pointSize) {
                QFont bigger = w.font();
                bigger.setPointSize(pointSize);
                w.setFont(bigger);
            }
            for (const QString& text : ui::StatusBar::panel1Texts()) {
                w.StatusBar1().setPanelText(1, text);
                QVERIFY2(panel1->sizeHint().width() <= panel1->width(), qPrintable(text));
            }
            for (const QString& text : {QString("Plays: 99"), QString("UK-P: 99")}) {
                w.StatusBar1().setPanelText(2, text);
                QVERIFY2(panel2->x() + panel2->sizeHint().width() <= bar->width(),
                         qPrintable(text));
            }
            QCOMPARE(panel1->geometry().right() < panel2->x(), true);
        }
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
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Running"));

        c.mnuFile_Click(2); // menu Stop leaves the toolbar alone
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Stop"));
        QVERIFY(w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{false, false, false, false}));
        QVERIFY(!c.capture().isTimerEnabled(CaptureEngine::TimerId::timerPlay));

        w.toolbarButton(2)->trigger();
        QVERIFY(!w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{true, true, true, true}));

        c.mnuFile_Click(1); // menu Start: running, buttons untouched
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Running"));
        QVERIFY(!w.toolbarButton(1)->isChecked());
        QCOMPARE(buttonsEnabled(), (QList<bool>{true, true, true, true}));
    }

    void startWithBothSwitchesOff() {
        ControllerFixture f;
        f.store.write(keys::CapPlans, "0");
        f.store.write(keys::CapPlays, "0");
        MainController& c = f.load();
        c.mnuFile_Click(1);
        QCOMPARE(c.window().StatusBar1().panelText(1), QString("Status: Running"));
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
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Stop"));
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
