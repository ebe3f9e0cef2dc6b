// The game folder watch: told once at the first look, then only when the folder comes, goes or
// moves; on the simulated clock.
#include "capture/gamefolderwatch.h"
#include "support/platform.h"
#include "support/simclock.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QtTest>

using namespace huddlex;

class GameFolderWatchTest : public QObject {
    Q_OBJECT
private slots:
    void toldWhenTheFolderComesGoesOrMoves() {
        test::TempEnvironment env;
        test::SimClock clock;
        GamePaths paths;
        paths.gFBDrive = "C:";
        paths.gFBVer = "\\Sierra\\FBPro97\\";
        QList<GameFolderState> told;
        GameFolderWatch watch(paths, clock, [&](const GameFolderState& s) { told << s; });
        watch.check();
        QCOMPARE(told.size(), 1);
        QVERIFY(!told.last().exists);
        QCOMPARE(told.last().windowsPath, QString("C:\\Sierra\\FBPro97\\"));
        QCOMPARE(QDir::fromNativeSeparators(told.last().hostPath), env.hostPath("Sierra/FBPro97"));
        QVERIFY(missingGameFolderText(told.last()).contains(told.last().hostPath));

        clock.advance(5 * GameFolderWatch::kIntervalMs);
        QCOMPARE(told.size(), 1);       // nothing changed, nothing told
        env.makeDirs("SIERRA/fbpro97"); // found as Windows finds it
        clock.advance(GameFolderWatch::kIntervalMs);
        QCOMPARE(told.size(), 2);
        QVERIFY(told.last().exists);
        // The spelling on disk; Windows keeps the one it was asked for, meaning the same.
        QCOMPARE(QDir::fromNativeSeparators(told.last().hostPath)
                     .compare(env.hostPath("SIERRA/fbpro97"),
                              test::onWindows ? Qt::CaseInsensitive : Qt::CaseSensitive),
                 0);

        paths.gFBVer = "\\Sierra\\FBPro98\\";
        watch.check(); // asked at once, as after the Settings dialog
        QCOMPARE(told.size(), 3);
        QVERIFY(!told.last().exists);
        QCOMPARE(watch.state().windowsPath, QString("C:\\Sierra\\FBPro98\\"));

        paths.gFBVer = "\\Sierra\\FBPro97\\";
        QVERIFY(QDir(env.hostPath("SIERRA")).removeRecursively());
        clock.advance(GameFolderWatch::kIntervalMs);
        QCOMPARE(told.size(), 4);
        QVERIFY(!told.last().exists);
    }
};

QTEST_GUILESS_MAIN(GameFolderWatchTest)
#include "tst_gamefolderwatch.moc"
