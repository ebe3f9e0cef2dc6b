// What the real window's status bar and messages say across a game: a copy problem and its
// recovery, commands during capture, the result of Update Log, the application's title.
#include "app/application.h"
#include "controllerfixture.h"
#include "fs/faults.h"
#include "support/gamefolder.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace huddlex;
using huddlex::test::ControllerFixture;
using huddlex::test::GameFolder;
using ui::MenuArray;

namespace {

QLabel* panel(ui::MainWindow& w, int n) {
    return w.findChild<QLabel*>(QStringLiteral("Panel%1").arg(n));
}

bool looksRed(QLabel* label) {
    return label->styleSheet().contains("color");
}

} // namespace

class StatusTextsTest : public QObject {
    Q_OBJECT
private slots:
    void copyProblemShowsUntilTheNextGoodCapture() {
        ControllerFixture f;
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        GameFolder game(f.env);
        fs::faults::setHook([](fs::faults::Op op, const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Write && host.contains("/Xferbox/"))
                return fs::Error{fs::ErrorKind::DiskFull, {}};
            return std::nullopt;
        });
        w.toolbarButton(1)->trigger();
        game.writePlay("play zero", QDateTime::currentDateTime().addSecs(-60));
        f.clock.advance(6000);

        QCOMPARE(w.StatusBar1().panelText(1), QString("Copy failed"));
        QVERIFY(looksRed(panel(w, 1)));
        QVERIFY(!looksRed(panel(w, 2))); // the count is not in question
        QCOMPARE(w.StatusBar1().panelText(2), QString("Plays: 0"));
        // The reason, whole, on a click: nothing to hover over.
        QTest::mouseClick(panel(w, 1), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.size(), 1);
        QVERIFY(f.notifier.messages.first().startsWith("Play 0 not captured: "));
        QCOMPARE(f.notifier.messages.first(), w.StatusBar1().captureProblem());

        // A command in between ends on the problem still there.
        c.mnuEdit_Click(1);
        QCOMPARE(w.StatusBar1().panelText(1), QString("Copy failed"));
        QVERIFY(looksRed(panel(w, 1)));

        fs::faults::clearHook();
        f.clock.advance(6000); // the play is still there and is taken
        QCOMPARE(c.capture().PlayCount(), 1);
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Running"));
        QVERIFY(!looksRed(panel(w, 1)));
        QVERIFY(panel(w, 1)->toolTip().isEmpty());
        const int messages = f.notifier.messages.size();
        QTest::mouseClick(panel(w, 1), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.size(), messages); // nothing to explain any more
    }

    // Validate and Update Log end on the state capture is in, wherever they were started.
    void commandsEndOnTheCaptureState() {
        ControllerFixture f;
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        f.env.writeFile("Sierra/FBPro97/play.log", "FBPlay~ x\r\n");
        QStringList seen;
        const auto run = [&](int menuIndex) {
            c.mnuEdit_Click(menuIndex);
            seen << w.StatusBar1().panelText(1);
        };
        c.mnuFile_Click(1); // menu Start: the toolbar stays usable too
        run(1);
        run(2);
        w.toolbarButton(4)->trigger();
        seen << w.StatusBar1().panelText(1);
        c.mnuFile_Click(2);
        run(1);
        run(2);
        QCOMPARE(seen, (QStringList{"Status: Running", "Status: Running", "Status: Running",
                                    "Status: Stop", "Status: Stop"}));
    }

    // Success would change nothing on screen: a note says what was written, for a while.
    void updateLogSaysWhatItWrote() {
        ControllerFixture f;
        f.env.writeFile("Sierra/FBPro97/Xferbox/FBplay0.ply", "unknown bytes");
        f.env.writeFile("Sierra/FBPro97/play.log", "FBPlay~ a\r\nFBPlay~ b\r\nkickoff\r\n");
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        c.mnuEdit_Click(1);
        c.mnuEdit_Click(2);
        QCOMPARE(w.StatusBar1().message(), QString("FBplay.log: 1 play name"));
        auto* shown = w.findChild<QLabel*>("StatusMessage");
        QVERIFY(shown->isVisibleTo(&w));
        QCOMPARE(shown->text(), w.StatusBar1().message()); // whole in the window's font
        QCOMPARE(w.StatusBar1().panelText(2), QString("Plays: 1"));

        f.clock.advance(MainController::kStatusMessageMs - 1000);
        c.mnuEdit_Click(2); // again: the note gets its full time anew
        f.clock.advance(MainController::kStatusMessageMs - 1);
        QVERIFY(!w.StatusBar1().message().isEmpty());
        f.clock.advance(1);
        QVERIFY(w.StatusBar1().message().isEmpty());
        QVERIFY(!shown->isVisibleTo(&w));

        f.env.writeFile("Sierra/FBPro97/play.log", "");
        c.mnuEdit_Click(2);
        QCOMPARE(w.StatusBar1().message(), QString("play.log is empty"));
        QVERIFY(!QFile::exists(f.game("FBplay.log")));
        f.clock.advance(MainController::kStatusMessageMs);

        // Failures keep their message box and leave no note.
        QFile::remove(f.game("play.log"));
        c.mnuEdit_Click(2);
        QCOMPARE(f.notifier.messages.last(), QString("The play.log does not exist"));
        QVERIFY(w.StatusBar1().message().isEmpty());
    }

    void messageBoxesCarryTheApplicationTitle() {
        configureApplication();
        ui::MessageBoxNotifier notifier;
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->accept();
            }
        });
        notifier.showMessage("3 Unknown Plays");
        QCOMPARE(title, QString("Huddlex"));
    }
};

QTEST_MAIN(StatusTextsTest)
#include "tst_statustexts.moc"
