// The play log update and the plan load under failing file steps: FBplay.log is either the
// whole new log or left as it was, a plan load that fails keeps the candidates it had, and
// every failure is told.
#include "capture/gamefolders.h"
#include "faultinjector.h"
#include "playlog/playlog.h"
#include "settings/settingsstore.h"
#include "support/gamefolder.h"
#include "support/recorders.h"
#include "support/simclock.h"
#include "validate/planreader.h"

#include <QDir>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

// A play log long enough to be written in several chunks, a transferred play on every line.
QByteArray longPlayLog(int lines) {
    QByteArray log;
    for (int i = 0; i < lines; ++i)
        log += "Quarter 1 12:00 1st and 10 at own 20  FBPlay~.tmp run  gain of 4 yards\r\n";
    return log;
}

struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    GamePaths paths;
    RecordingNotifier notifier;
    FBPlan plan;

    Rig() {
        paths.readFrom(store);
        game.makeCaptureFolder();
    }
    void writePlans(const QByteArray& tag) {
        for (const char* name : {"XOff1", "XDef1", "XOff2", "XDef2"})
            game.write(QStringLiteral("Xferbox/%1.pln").arg(name),
                       "1,VPNFL\\OFF\\" + QByteArray(name) + tag + ".ply\r\n");
    }
    PlanLoad load() { return ReadGamePlans(paths, store, plan, notifier); }
};

const int PlayLogLines = 2500;

} // namespace

class FileFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }
    void cleanupTestCase() { FaultTally::print(); }

    void playLogUpdateFailsAtEveryStep() {
        const QStringList results(PlayLogLines, QStringLiteral("VPNFL\\OFF\\RUN01.ply"));
        int steps = 0;
        {
            Rig rig;
            rig.game.write("play.log", longPlayLog(PlayLogLines));
            FaultInjector counter(rig.game.host());
            QCOMPARE(UpdatePlayLog(rig.paths, results, rig.notifier), PlayLogUpdate::Written);
            steps = counter.steps();
        }
        QVERIFY(steps >= 4); // the read, several chunks, the rename
        for (fs::ErrorKind kind : kFaultKinds) {
            for (int k = 1; k <= steps; ++k) {
                const QString what = QStringLiteral("%1 at step %2").arg(kindName(kind)).arg(k);
                Rig rig;
                rig.game.write("play.log", longPlayLog(PlayLogLines));
                rig.game.write("FBplay.log", "the log of the last update\r\n");
                const Snapshot before = snapshot(rig.game.host());
                PlayLogUpdate outcome;
                {
                    FaultInjector fault(rig.game.host(), k, kind);
                    outcome = UpdatePlayLog(rig.paths, results, rig.notifier);
                    QVERIFY2(fault.fired(), qPrintable(what));
                }
                const Snapshot after = snapshot(rig.game.host());
                ++FaultTally::cases;
                FaultTally::lost += lostFiles(before, after);
                QVERIFY2(outcome == PlayLogUpdate::Failed, qPrintable(what));
                QVERIFY2(after == before, qPrintable(what)); // old FBplay.log, no temporary
                QCOMPARE(rig.notifier.messages.size(), 1);
                QVERIFY2(rig.notifier.messages.first().contains(reasonShown(kind)),
                         qPrintable(what + ": " + rig.notifier.messages.first()));
            }
        }
    }

    void vanishedPlayLogIsTold() {
        Rig rig;
        rig.game.write("FBplay.log", "kept\r\n");
        const Snapshot before = snapshot(rig.game.host());
        QCOMPARE(UpdatePlayLog(rig.paths, QStringList{"A\\B.ply"}, rig.notifier),
                 PlayLogUpdate::NoPlayLog);
        ++FaultTally::cases;
        FaultTally::lost += lostFiles(before, snapshot(rig.game.host()));
        QCOMPARE(snapshot(rig.game.host()), before);
        QCOMPARE(rig.notifier.messages, QStringList{PlayLogMissing});
    }

    // A read error in any of the four plans: the lists read before it are new, the later ones
    // and the candidates are those of the last complete load.
    void readErrorInEachPlan() {
        for (int k = 1; k <= 4; ++k) {
            Rig rig;
            rig.writePlans("_old");
            QCOMPARE(rig.load(), PlanLoad::Complete);
            const QStringList oldCandidates = rig.plan.gPlayFiles->toStringList();
            rig.writePlans("_new");
            const Snapshot before = snapshot(rig.game.host());
            PlanLoad outcome;
            {
                FaultInjector fault(QStringLiteral("/Xferbox/"), k, fs::ErrorKind::Other);
                outcome = rig.load();
                QVERIFY(fault.fired());
            }
            ++FaultTally::cases;
            FaultTally::lost += lostFiles(before, snapshot(rig.game.host()));
            QCOMPARE(snapshot(rig.game.host()), before);
            QCOMPARE(outcome, PlanLoad::Failed);
            QCOMPARE(rig.plan.gPlayFiles->toStringList(), oldCandidates);
            QCOMPARE(rig.notifier.messages.size(), 1);
            QVERIFY(
                rig.notifier.messages.first().startsWith("The game plans could not be loaded: "));
            QVERIFY(rig.notifier.messages.first().contains(reasonShown(fs::ErrorKind::Other)));
            const std::optional<PlayPathList>* lists[] = {
                &rig.plan.gOff1Plays, &rig.plan.gDef1Plays, &rig.plan.gOff2Plays,
                &rig.plan.gDef2Plays};
            for (int i = 0; i < 4; ++i) {
                const QString entry = (*lists[i])->entry(0);
                QVERIFY2(entry.endsWith(i < k - 1 ? "_new.ply" : "_old.ply"), qPrintable(entry));
            }
        }
    }

    void vanishedPlanIsTold() {
        Rig rig;
        rig.writePlans("_old");
        QCOMPARE(rig.load(), PlanLoad::Complete);
        const QStringList oldCandidates = rig.plan.gPlayFiles->toStringList();
        QVERIFY(QFile::remove(rig.game.capturedHost("XOff2.pln")));
        const Snapshot before = snapshot(rig.game.host());
        QCOMPARE(rig.load(), PlanLoad::MissingPlan);
        ++FaultTally::cases;
        FaultTally::lost += lostFiles(before, snapshot(rig.game.host()));
        QCOMPARE(rig.notifier.messages, QStringList{MissingGamePlan});
        QCOMPARE(rig.plan.gPlayFiles->toStringList(), oldCandidates);
    }

    // A game folder that refuses the capture folder: nothing made, the reason carried back.
    void captureFolderRefused() {
        TempEnvironment env;
        GameFolder game(env);
        QDir().mkpath(game.host());
        MemorySettingsStore store;
        GamePaths paths;
        paths.readFrom(store);
        SimClock clock;
        GameFolders folders(paths, clock);
        folders.check();
        FaultInjector refuse(QStringLiteral("/Xferbox"), 1, fs::ErrorKind::AccessDenied);
        const fs::Status made = folders.ensureCaptureFolder();
        ++FaultTally::cases;
        QVERIFY(!made.ok());
        QCOMPARE(made.kind(), fs::ErrorKind::AccessDenied);
        QVERIFY(made.message().contains("Xferbox"));
        QVERIFY(!QFileInfo::exists(game.captureHost()));
    }
};

QTEST_GUILESS_MAIN(FileFaultsTest)
#include "tst_filefaults.moc"
