#include "fs/faults.h"
#include "settings/settingsstore.h"
#include "support/gamefolder.h"
#include "support/recorders.h"
#include "validate/planreader.h"

#include <QDir>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    MemorySettingsStore store;
    GamePaths paths;
    FBPlan plan;
    RecordingNotifier notifier;

    Rig() { game.makeCaptureFolder(); }
    void writePlan(const QString& name, const QByteArray& text) {
        game.write("Xferbox/" + name, text);
    }
    void writePlans(const QByteArray& off1, const QByteArray& def1, const QByteArray& off2,
                    const QByteArray& def2) {
        writePlan("XOff1.pln", off1);
        writePlan("XDef1.pln", def1);
        writePlan("XOff2.pln", off2);
        writePlan("XDef2.pln", def2);
    }
    PlanLoad load() { return ReadGamePlans(paths, store, plan, notifier); }
};

QStringList list(const std::optional<PlayPathList>& l) {
    return l ? l->toStringList() : QStringList{"<absent>"};
}

} // namespace

class ReadGamePlansTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void readsTheFourPlansIntoOneGrowingText() {
        Rig rig;
        // The plan files' own letter case does not matter; a path may run across two files.
        rig.game.write("Xferbox/xoff1.PLN", "1,\"VPNFL\\A.ply\",VPNFL\\X");
        rig.writePlan("XDef1.pln", "Y.ply\r\n");
        rig.writePlan("XOff2.pln", "VPNFL\\C.ply\r\n");
        rig.writePlan("XDef2.pln", "VPNFL\\D.ply");
        QCOMPARE(rig.load(), PlanLoad::Complete);
        QVERIFY(rig.notifier.messages.isEmpty());
        QCOMPARE(list(rig.plan.gOff1Plays), (QStringList{"VPNFL\\A.ply"}));
        QCOMPARE(list(rig.plan.gDef1Plays), (QStringList{"VPNFL\\A.ply", "VPNFL\\XY.ply"}));
        QCOMPARE(rig.plan.gPlayFiles->size(), 1 + 3 + 2 + 4);
        QCOMPARE(rig.plan.gPlayFiles->entry(9), QString("VPNFL\\D.ply"));
    }

    void rereadsTheSettingsFirst() {
        Rig rig;
        rig.writePlans("LIB\\A.ply", "VPNFL\\B.ply", "", "");
        rig.paths.gFBPlayFolder = "VPNFL"; // stale: the store says otherwise
        rig.store.write(keys::FBPlayFolder, "LIB");
        QCOMPARE(rig.load(), PlanLoad::Complete);
        QCOMPARE(rig.paths.gFBPlayFolder, QString("LIB"));
        QCOMPARE(rig.paths.gFBDrive, QString("C:"));
        QCOMPARE(list(rig.plan.gPlayFiles),
                 (QStringList{"LIB\\A.ply", "LIB\\A.ply", "LIB\\A.ply", "LIB\\A.ply"}));
    }

    // A load that stops early replaces only the lists read so far; the candidates stay.
    void missingPlanKeepsTheLastCompleteCandidates() {
        Rig rig;
        rig.writePlans("VPNFL\\A.ply", "VPNFL\\B.ply", "VPNFL\\C.ply", "VPNFL\\D.ply");
        QCOMPARE(rig.load(), PlanLoad::Complete);
        const QStringList before = list(rig.plan.gPlayFiles);

        rig.writePlans("VPNFL\\E.ply", "VPNFL\\F.ply", "", "");
        rig.game.remove("Xferbox/XOff2.pln");
        QCOMPARE(rig.load(), PlanLoad::MissingPlan);
        QCOMPARE(rig.notifier.messages, QStringList{"Missing Game Plan"});
        QCOMPARE(list(rig.plan.gOff1Plays), (QStringList{"VPNFL\\E.ply"}));
        QCOMPARE(list(rig.plan.gDef1Plays), (QStringList{"VPNFL\\E.ply", "VPNFL\\F.ply"}));
        QCOMPARE(rig.plan.gOff2Plays->size(), 3);
        QCOMPARE(list(rig.plan.gPlayFiles), before);
    }

    void missingCaptureFolderIsAMissingPlan() {
        Rig rig;
        QDir(rig.game.captureHost()).removeRecursively();
        QCOMPARE(rig.load(), PlanLoad::MissingPlan);
        QCOMPARE(rig.notifier.messages, QStringList{"Missing Game Plan"});
        QVERIFY(!rig.plan.gOff1Plays && !rig.plan.gPlayFiles);
    }

    // Other failures used to end the load silently; now they say what failed.
    void otherFailuresAreNamed_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("plan is a folder") << "folder";
        QTest::newRow("read error") << "read";
        // A sparse gigabyte: refused by its size before a byte is read or held.
        QTest::newRow("plan past 16 MB") << "huge";
    }
    void otherFailuresAreNamed() {
        QFETCH(QString, failure);
        Rig rig;
        rig.writePlans("VPNFL\\A.ply", "VPNFL\\B.ply", "VPNFL\\C.ply", "VPNFL\\D.ply");
        if (failure == "folder") {
            rig.game.remove("Xferbox/XDef1.pln");
            QDir().mkpath(rig.game.capturedHost("XDef1.pln"));
        } else if (failure == "huge") {
            QFile plan(rig.game.capturedHost("XDef1.pln"));
            QVERIFY(plan.open(QIODevice::ReadWrite) && plan.resize(qint64(1) << 30));
        } else {
            fs::faults::setHook([](fs::faults::Op op, const QString& host) {
                return op == fs::faults::Op::Read && host.endsWith("XDef1.pln")
                           ? std::optional<fs::Error>(fs::Error{fs::ErrorKind::Other, {}})
                           : std::nullopt;
            });
        }
        QCOMPARE(rig.load(), PlanLoad::Failed);
        QCOMPARE(rig.notifier.messages.size(), 1);
        QVERIFY2(rig.notifier.messages[0].startsWith("The game plans could not be loaded: ") &&
                     rig.notifier.messages[0].contains("XDef1.pln"),
                 qPrintable(rig.notifier.messages[0]));
        QCOMPARE(list(rig.plan.gOff1Plays), (QStringList{"VPNFL\\A.ply"}));
        QVERIFY(!rig.plan.gDef1Plays && !rig.plan.gPlayFiles);
    }

    // Four plans of 10 KB passed the old 32,767-character limit; they now load whole.
    void largePlansLoadWhole() {
        Rig rig;
        QByteArray plan;
        while (plan.size() < 10'000)
            plan += "VPNFL\\P" + QByteArray::number(plan.size()) + ".ply,";
        rig.writePlans(plan, plan, plan, plan + "VPNFL\\LAST.ply");
        QCOMPARE(rig.load(), PlanLoad::Complete);
        QVERIFY(rig.notifier.messages.isEmpty());
        const PlayPathList& files = *rig.plan.gPlayFiles;
        QCOMPARE(files.entry(files.size() - 1), QString("VPNFL\\LAST.ply"));
    }
};

QTEST_GUILESS_MAIN(ReadGamePlansTest)
#include "tst_readgameplans.moc"
