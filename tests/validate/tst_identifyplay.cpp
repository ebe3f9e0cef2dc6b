#include "fs/faults.h"
#include "support/gamefolder.h"
#include "support/platform.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"
#include "validate/playidentifier.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

using Files = QList<QPair<QString, QByteArray>>; // path below the game folder, content

struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    GamePaths paths{"C:", "\\Sierra\\FBPro97\\", "VPNFL"};
    std::optional<PlayPathList> playFiles;

    Rig() { game.makeCaptureFolder(); }
    void writeFiles(const Files& files) {
        for (const auto& [path, content] : files) {
            QDir().mkpath(QFileInfo(game.hostFile(path)).path());
            game.write(path, content);
        }
    }
    void setCandidates(const QStringList& entries) {
        QByteArray text;
        for (const QString& e : entries)
            text += e.toLatin1();
        playFiles = ExtractPlayPaths(text, "VPNFL", ".ply");
    }
    void capture(int number, const QByteArray& content) {
        game.write(QStringLiteral("Xferbox/FBplay%1.ply").arg(number), content);
    }
};

QByteArray bytes(int n, char first = 'a') {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char(first + i % 26);
    return b;
}

// The rule itself, on contents in memory: the first candidate that begins with the play.
QString bruteForce(const QStringList& entries, const QHash<QString, QByteArray>& contents,
                   const QByteArray& play) {
    if (play.isEmpty())
        return UnknownPlay;
    for (const QString& e : entries) {
        auto it = contents.constFind(e);
        if (it != contents.constEnd() && it->startsWith(play))
            return e;
    }
    return UnknownPlay;
}

} // namespace

class IdentifyPlayTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void appliesThePrefixRule_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("play");
        QTest::addColumn<QString>("expected");
        const QStringList ab{"VPNFL\\OFF\\A.ply", "VPNFL\\OFF\\B.ply"};
        QTest::newRow("identical to a candidate") << ab << bytes(300, 'b') << ab[1];
        QTest::newRow("first 100 bytes of a 300-byte candidate") << ab << bytes(100, 'a') << ab[0];
        QTest::newRow("one byte longer than a candidate")
            << ab << bytes(300, 'a') + 'x' << UnknownPlay;
        QTest::newRow("differs in the last byte") << ab << bytes(299, 'a') + '!' << UnknownPlay;
        QTest::newRow("same content twice: the earlier wins")
            << QStringList{"VPNFL\\DUP2.ply", "VPNFL\\OFF\\B.ply", "VPNFL\\DUP1.ply"}
            << bytes(10, 'z') << "VPNFL\\DUP2.ply";
        QTest::newRow("listed in another letter case")
            << QStringList{"VPNFL\\off\\a.PLY.ply", "VPNFL\\Off\\a.ply"} << bytes(5, 'a')
            << "VPNFL\\Off\\a.ply";
        QTest::newRow("empty list") << QStringList{} << bytes(10, 'a') << UnknownPlay;
        QTest::newRow("0-byte play is unknown") << ab << QByteArray() << UnknownPlay;
        QTest::newRow("missing candidate skipped")
            << QStringList{"VPNFL\\NONE.ply", "VPNFL\\OFF\\A.ply"} << bytes(3, 'a') << ab[0];
        QTest::newRow("invalid and climbing paths never match")
            << QStringList{"VPNFL\\OFF\\..\\OFF\\A.ply", "VPNFL\\OFF/A.ply", "VPNFL\\OFF\\*.ply"}
            << bytes(3, 'a') << UnknownPlay;
    }
    void appliesThePrefixRule() {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, play);
        QFETCH(QString, expected);
        Rig rig;
        rig.writeFiles({{"VPNFL/OFF/A.ply", bytes(300, 'a')},
                        {"VPNFL/OFF/B.ply", bytes(300, 'b')},
                        {"VPNFL/DUP1.ply", bytes(20, 'z')},
                        {"VPNFL/DUP2.ply", bytes(20, 'z')}});
        rig.setCandidates(entries);
        rig.capture(0, play);
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), expected);
    }

    void unreadablePlaysAreUnknown() {
        Rig rig;
        rig.writeFiles({{"VPNFL/A.ply", "abc"}});
        rig.setCandidates({"VPNFL\\A.ply"});
        QDir().mkpath(rig.game.capturedHost("FBplay1.ply")); // a folder where a play should be
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), UnknownPlay); // missing
        QCOMPARE(identifier.IdentifyPlay(1), UnknownPlay);
        QVERIFY(!rig.game.hasCaptured("FBplay0.ply")); // nothing created
    }

    void absentCandidateListKnowsNothing() {
        Rig rig;
        rig.capture(0, "abc");
        const std::optional<PlayPathList> none;
        PlayIdentifier identifier(rig.paths, none);
        QCOMPARE(identifier.IdentifyPlay(0), UnknownPlay);
    }

    // A FIFO, a folder or a device among the candidates neither blocks nor fails the run.
    void specialFilesJustDoNotMatch() {
        Rig rig;
        rig.writeFiles({{"VPNFL/REAL.ply", "abcdef"}});
        QDir().mkpath(rig.game.hostFile("VPNFL/DIR.ply"));
        // FIFOs and device files are POSIX only; on Windows those two names are simply absent.
        if (test::makeFifo(rig.game.hostFile("VPNFL/FIFO.ply")))
            QFile::link("/dev/zero", rig.game.hostFile("VPNFL/ZERO.ply"));
        else
            QVERIFY(test::onWindows);
        rig.setCandidates(
            {"VPNFL\\FIFO.ply", "VPNFL\\DIR.ply", "VPNFL\\ZERO.ply", "VPNFL\\REAL.ply"});
        rig.capture(0, "abc");
        rig.capture(1, QByteArray(3, '\0'));
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), QString("VPNFL\\REAL.ply"));
        QCOMPARE(identifier.IdentifyPlay(1), UnknownPlay);
    }

    // Each distinct candidate file is read once per identifier however often it is listed and
    // however many plays are identified; each play once.
    void readsEachFileOnce() {
        Rig rig;
        Files files;
        QStringList entries;
        for (int i = 0; i < 20; ++i) {
            files << qMakePair(QStringLiteral("VPNFL/P%1.ply").arg(i), "HDR" + bytes(10 + i));
            entries << QStringLiteral("VPNFL\\P%1.ply").arg(i);
        }
        rig.writeFiles(files);
        rig.setCandidates(entries + entries + QStringList{"VPNFL\\p3.PLY.ply", "VPNFL\\p3.ply"});
        for (int i = 0; i < 20; ++i)
            rig.capture(i, "HDR" + bytes(10 + (i * 7) % 25));
        QHash<QString, int> reads;
        fs::faults::setHook([&](fs::faults::Op op, const QString& host) {
            if (op == fs::faults::Op::Read)
                ++reads[host];
            return std::optional<fs::Error>();
        });
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        for (int i = 0; i < 20; ++i)
            identifier.IdentifyPlay(i);
        QCOMPARE(identifier.candidateFilesRead(), 20);
        for (auto it = reads.cbegin(); it != reads.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(it.key()));
        QCOMPARE(reads.size(), 40);
    }

    // The index agrees with the rule on many plays that share prefixes with many candidates.
    void agreesWithTheRule() {
        Rig rig;
        QRandomGenerator random(42);
        QStringList entries;
        QHash<QString, QByteArray> contents;
        Files files;
        for (int i = 0; i < 60; ++i) {
            const QString entry = QStringLiteral("VPNFL\\F%1.ply").arg(i);
            QByteArray content = "H";
            const int length = random.bounded(0, 6);
            for (int k = 0; k < length; ++k)
                content += char('a' + random.bounded(3));
            if (random.bounded(10) > 0) { // some named files do not exist
                files << qMakePair(QStringLiteral("VPNFL/F%1.ply").arg(i), content);
                contents.insert(entry, content);
            }
            entries << entry;
            if (random.bounded(4) == 0)
                entries << entries[random.bounded(int(entries.size()))];
        }
        rig.writeFiles(files);
        rig.setCandidates(entries);
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        for (int round = 0; round < 400; ++round) {
            QByteArray play;
            const int length = random.bounded(0, 7);
            for (int k = 0; k < length; ++k)
                play += k == 0 && random.bounded(8) ? 'H' : char('a' + random.bounded(3));
            QCOMPARE(identifier.identifyBytes(play), bruteForce(entries, contents, play));
        }
    }

    // An empty start marker on a megabyte of plan text: about a million overlapping paths,
    // nearly all naming nothing, and the real ones still found.
    void emptyMarkerOnALargePlanText() {
        Rig rig;
        QByteArray plan;
        for (int i = 0; plan.size() < 1'000'000; ++i)
            plan += QStringLiteral("VPNFL\\OFF\\RUN%1.ply,").arg(i % 5000).toLatin1();
        rig.writeFiles({{"VPNFL/OFF/RUN4321.ply", "the play"}, {"VPNFL/OFF/RUN7.ply", "other"}});
        for (const char* name : {"XOff1.pln", "XDef1.pln", "XOff2.pln"})
            rig.game.write(QString("Xferbox/") + name, "");
        rig.game.write("Xferbox/XDef2.pln", plan);
        rig.capture(0, "the play");
        MemorySettingsStore store;
        store.write(keys::FBPlayFolder, "");
        FBPlan fbPlan;
        struct : Notifier {
            void showMessage(const QString& text) override { QFAIL(qPrintable(text)); }
        } notifier;
        QCOMPARE(ReadGamePlans(rig.paths, store, fbPlan, notifier), PlanLoad::Complete);
        QVERIFY(fbPlan.gPlayFiles->size() > 900'000);
        PlayIdentifier identifier(rig.paths, fbPlan.gPlayFiles);
        QCOMPARE(identifier.IdentifyPlay(0), QString("VPNFL\\OFF\\RUN4321.ply"));
        QCOMPARE(identifier.candidateFilesRead(), 2);
    }
};

QTEST_GUILESS_MAIN(IdentifyPlayTest)
#include "tst_identifyplay.moc"
