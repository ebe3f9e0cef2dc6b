// Where the game is, as the main window finds and shows it: the missing game folder in the
// status bar, and the Wine prefix of a first start and of one session (huddlex --wine-prefix).
#include "capture/gamefolders.h"
#include "controllerfixture.h"
#include "fs/drivemap.h"
#include "support/gamefolder.h"
#include "ui/mainwindow.h"
#include "ui/playlists.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

using namespace huddlex;
using huddlex::test::ControllerFixture;
using huddlex::test::TempEnvironment;

namespace {

const QString v98 = QStringLiteral("\\Sierra\\FBPro98\\");

QLabel* panel1(ui::MainWindow& w) {
    return w.findChild<QLabel*>(QStringLiteral("Panel1"));
}

bool looksRed(QLabel* label) {
    return label->styleSheet().contains("color");
}

// The scratch prefix of the fixture without the game folder in it.
void removeGame(ControllerFixture& f) {
    QVERIFY(QDir(f.env.hostPath("Sierra")).removeRecursively());
}

} // namespace

class GameFolderTest : public QObject {
    Q_OBJECT
private slots:
    // No game folder: panel 1 says so in red, its tool tip names the folder as the game does and
    // on this computer, a click gives the whole reason. Capture starts as designed, and the
    // hint goes as soon as the folder is there, and comes back when it goes.
    void missingGameFolderIsShownUntilItIsThere() {
        ControllerFixture f;
        removeGame(f);
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        QCOMPARE(w.StatusBar1().panelText(1), QString("No game folder"));
        QVERIFY(looksRed(panel1(w)));
        QCOMPARE(w.StatusBar1().panelText(2), QString("Plays: 0"));
        const QString tip = panel1(w)->toolTip();
        QVERIFY2(tip.startsWith("Status: Stop\nThe game folder does not exist:\nC:\\Sierra\\"
                                "FBPro97\\\non this computer: " +
                                f.env.hostPath("Sierra/FBPro97") + '\n'),
                 qPrintable(tip));
        QTest::mouseClick(panel1(w), Qt::LeftButton);
        QCOMPARE(f.notifier.messages, QStringList{w.StatusBar1().gameFolderHint()});
        QVERIFY(f.store.values().isEmpty()); // no prefix holds the game: nothing chosen

        w.toolbarButton(1)->trigger();
        QVERIFY(c.capture().isTimerEnabled(CaptureEngine::TimerId::timerPlay));
        QVERIFY(c.capture().isTimerEnabled(CaptureEngine::TimerId::Timer1));
        QCOMPARE(w.StatusBar1().panelText(1), QString("No game folder"));
        QVERIFY(panel1(w)->toolTip().startsWith("Status: Running\n"));

        f.env.makeDirs("sierra/FBPRO97"); // as Windows finds it, in any letter case
        f.clock.advance(1000);
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Running"));
        QVERIFY(!looksRed(panel1(w)));
        QVERIFY(panel1(w)->toolTip().isEmpty());
        QVERIFY(w.StatusBar1().gameFolderHint().isEmpty());

        // A version picked in the Settings dialog shows as soon as it closes, without waiting.
        f.settingsDo = [&] { c.paths().gFBVer = v98; };
        c.mnuView_Click(4);
        QCOMPARE(w.StatusBar1().panelText(1), QString("No game folder"));
        QVERIFY(w.StatusBar1().gameFolderHint().contains("C:\\Sierra\\FBPro98\\"));
        w.toolbarButton(2)->trigger();
        QCOMPARE(w.StatusBar1().panelText(1), QString("No game folder"));
        QVERIFY(panel1(w)->toolTip().startsWith("Status: Stop\n"));
    }

    // Whenever the folder in use changes or comes into being, capture follows it at once: the
    // capture folder is made there (asking about plays left in it), File1, panel 2 and the
    // numbering follow, and the next play is captured there.
    void captureFollowsTheGameFolder_data() {
        QTest::addColumn<bool>("chosenInSettings"); // else the folder appears while running
        QTest::newRow("FBPro 98 chosen in Settings") << true;
        QTest::newRow("the game folder appears") << false;
    }
    void captureFollowsTheGameFolder() {
        QFETCH(bool, chosenInSettings);
        ControllerFixture f;
        removeGame(f);
        const QString folder = chosenInSettings ? "Sierra/FBPro98" : "Sierra/FBPro97";
        if (chosenInSettings) {
            f.env.writeFile(folder + "/Xferbox/FBplay0.ply", "left");
            f.env.writeFile(folder + "/Xferbox/fbplay1.ply", "over");
        }
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        w.toolbarButton(1)->trigger();
        if (chosenInSettings) {
            f.settingsDo = [&] { c.paths().gFBVer = v98; };
            c.mnuView_Click(4);
        } else {
            f.env.makeDirs(folder);
            f.clock.advance(GameFolders::kWatchIntervalMs);
        }
        const int kept = chosenInSettings ? 2 : 0;
        QCOMPARE(f.prompts, chosenInSettings ? 1 : 0);
        QVERIFY(QFileInfo(f.env.hostPath(folder + "/Xferbox")).isDir());
        QCOMPARE(w.File1().count(), kept);
        QCOMPARE(w.StatusBar1().panelText(2), QString("Plays: %1").arg(kept));
        QCOMPARE(c.capture().PlayCount(), kept);
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Running"));

        test::GameFolder game(f.env, folder);
        game.writePlay("the play", QDateTime::currentDateTime().addSecs(-60));
        f.clock.advance(6000);
        QCOMPARE(game.captured(QString("FBplay%1.ply").arg(kept)), QByteArray("the play"));
        QCOMPARE(w.StatusBar1().panelText(2), QString("Plays: %1").arg(kept + 1));
        QCOMPARE(w.File1().count(), kept + 1);
    }

    // A first start without the game where Wine keeps it by default takes the one prefix that
    // holds it, and its version, says so for a while and stores both; start-up goes on there.
    void firstStartTakesTheOnePrefixWithTheGame() {
        ControllerFixture f;
        removeGame(f);
        const QString prefix =
            TempEnvironment::makeWinePrefix(f.env.root() + "/Games/fb", {"Sierra/FBPro98"});
        TempEnvironment::makeWinePrefix(f.env.root() + "/.PlayOnLinux/wineprefix/office");
        f.env.writeFile("Sierra/FBPro98/Xferbox/FBplay0.ply", "not in the prefix found");
        MainController& c = f.load();
        ui::MainWindow& w = c.window();
        QCOMPARE(f.store.values(),
                 (QMap<QString, QString>{{"FBVer", v98}, {"WinePrefix", prefix}}));
        QCOMPARE(fs::DriveMap::winePrefix(), prefix);
        QVERIFY(QFileInfo(prefix + "/drive_c/Sierra/FBPro98/Xferbox").isDir());
        QCOMPARE(f.prompts, 0);
        QCOMPARE(w.StatusBar1().panelText(1), QString("Status: Stop"));
        QCOMPARE(w.StatusBar1().message(), QString("Using ~/Games/fb"));
        QVERIFY(w.findChild<QLabel*>("StatusMessage")->toolTip().contains(prefix));

        f.clock.advance(MainController::kStatusMessageMs * MainController::kStartupNotePeriods - 1);
        QCOMPARE(w.StatusBar1().message(), QString("Using ~/Games/fb"));
        f.clock.advance(1);
        QVERIFY(w.StatusBar1().message().isEmpty());

        // huddlex --wine-prefix: the next run works in the folder given, and stores nothing.
        const QString session =
            TempEnvironment::makeWinePrefix(f.env.root() + "/session", {"Sierra/FBPro98"});
        const int writes = f.store.writeCount();
        f.sessionPrefix = session;
        f.load();
        QCOMPARE(fs::DriveMap::winePrefix(), session);
        QVERIFY(QFileInfo(session + "/drive_c/Sierra/FBPro98/Xferbox").isDir());
        QCOMPARE(f.store.writeCount(), writes);
    }
};

QTEST_MAIN(GameFolderTest)
#include "tst_gamefolder.moc"
