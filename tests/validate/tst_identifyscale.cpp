// Identification at scale and at the edges of what memory holds: every file read at most once,
// plays longer than the prefixes kept, sparse giants, many plays against the rule itself.
#include "fs/faults.h"
#include "identifyrig.h"
#include "support/platform.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

class IdentifyScaleTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    // Each distinct candidate file is read once per identifier however often and in whatever
    // letter case it is listed, and each play at most once; a play longer than every candidate
    // is not read at all.
    void readsEachFileAtMostOnce() {
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
                ++reads[QFileInfo(host).fileName()];
            return std::optional<fs::Error>();
        });
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        for (int i = 0; i < 20; ++i)
            identifier.IdentifyPlay(i);
        QCOMPARE(identifier.candidateFilesRead(), 20);
        for (auto it = reads.cbegin(); it != reads.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(it.key()));
        for (int i = 0; i < 20; ++i) {
            const bool longerThanAll = 3 + 10 + (i * 7) % 25 > 3 + 10 + 19;
            QCOMPARE(reads.contains(QStringLiteral("FBplay%1.ply").arg(i)), !longerThanAll);
        }
    }

    // Plays longer than the prefixes kept: decided by reading on, in gPlayFiles order.
    void longPlaysAreComparedToTheEnd_data() {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<char>("last");
        QTest::addColumn<QString>("expected");
        const qint64 cap = PlayIdentifier::kPrefixBytes;
        QTest::newRow("prefix of both: the earlier") << cap + 1 << 'x' << "VPNFL\\A.ply";
        QTest::newRow("all of A") << 3 * cap << 'x' << "VPNFL\\A.ply";
        QTest::newRow("differs from A at its end") << 3 * cap << 'y' << "VPNFL\\B.ply";
        QTest::newRow("longer than A, all of B") << 4 * cap << 'y' << "VPNFL\\B.ply";
        QTest::newRow("differs from both") << 3 * cap << 'z' << UnknownPlay;
        QTest::newRow("longer than every candidate") << 4 * cap + 1 << 'y' << UnknownPlay;
    }

    void longPlaysAreComparedToTheEnd() {
        QFETCH(qint64, length);
        QFETCH(char, last);
        QFETCH(QString, expected);
        const qint64 cap = PlayIdentifier::kPrefixBytes;
        QByteArray common = bytes(int(3 * cap - 1));
        QByteArray a = common + 'x';
        QByteArray b = common + 'y' + bytes(int(cap));
        Rig rig;
        rig.writeFiles({{"VPNFL/A.ply", a}, {"VPNFL/B.ply", b}});
        rig.setCandidates({"VPNFL\\A.ply", "VPNFL\\B.ply"});
        QByteArray play = (length <= a.size() ? a : b).left(int(length));
        if (length == 3 * cap)
            play[int(length - 1)] = last;
        play = play.leftJustified(int(length), '!');
        rig.capture(0, play);
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), expected);
    }

    // Sparse plays and candidates far larger than memory: holes read as zeros, so only the
    // data decides.
    void sparseGiants() {
        Rig rig;
        const qint64 size = qint64(3) << 30;
        auto sparse = [&](const QString& name, qint64 dataAt, char byte) {
            const QString host = rig.game.hostFile(name);
            QDir().mkpath(QFileInfo(host).path());
            QFile file(host);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
            if (dataAt >= 0)
                QVERIFY(file.seek(dataAt) && file.write(&byte, 1) == 1);
        };
        sparse("VPNFL/HUGE.ply", qint64(5) << 29, 'd');
        sparse("Xferbox/FBplay0.ply", qint64(5) << 29, 'd');
        sparse("Xferbox/FBplay1.ply", qint64(5) << 29, 'e');
        sparse("Xferbox/FBplay2.ply", -1, 0);
        rig.writeFiles({{"VPNFL/SMALL.ply", QByteArray(100, '\0')}});
        rig.capture(3, QByteArray(50, '\0'));
        rig.setCandidates({"VPNFL\\SMALL.ply", "VPNFL\\HUGE.ply"});
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), QString("VPNFL\\HUGE.ply"));
        QCOMPARE(identifier.IdentifyPlay(1), UnknownPlay);
        QCOMPARE(identifier.IdentifyPlay(2), UnknownPlay);
        QCOMPARE(identifier.IdentifyPlay(3), QString("VPNFL\\SMALL.ply"));
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
        QList<QByteArray> plays;
        for (int round = 0; round < 400; ++round) {
            QByteArray play;
            const int length = random.bounded(0, 7);
            for (int k = 0; k < length; ++k)
                play += k == 0 && random.bounded(8) ? 'H' : char('a' + random.bounded(3));
            rig.capture(round, play);
            plays << play;
        }
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        for (int round = 0; round < 400; ++round)
            QCOMPARE(identifier.IdentifyPlay(round), bruteForce(entries, contents, plays[round]));
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

    // A plan that names one folder in many spellings: the folder is listed once, and every
    // spelling reaches the same file.
    void manySpellingsOneListing() {
        Rig rig;
        Files files;
        for (int i = 0; i < 200; ++i)
            files << qMakePair(QStringLiteral("VPNFL/OFFENSE/Q%1.ply").arg(i),
                               "play" + QByteArray::number(i));
        rig.writeFiles(files);
        QStringList entries;
        const QString folder = "OFFENSE";
        for (int bits = 0; bits < 128; ++bits) {
            QString spelling;
            for (int k = 0; k < folder.size(); ++k)
                spelling += (bits >> k & 1) ? folder[k].toLower() : folder[k];
            entries << "VPNFL\\" + spelling + "\\Q7.ply";
        }
        rig.setCandidates(entries);
        rig.capture(0, "play7");
        QHash<QString, int> listings;
        fs::faults::setHook([&](fs::faults::Op op, const QString& host) {
            if (op == fs::faults::Op::List)
                ++listings[host];
            return std::optional<fs::Error>();
        });
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), entries.first());
        QCOMPARE(identifier.candidateFilesRead(), 1);
        for (auto it = listings.cbegin(); it != listings.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(it.key()));
        QCOMPARE(listings.size(), 3); // the game folder, VPNFL, OFFENSE
    }
};

QTEST_GUILESS_MAIN(IdentifyScaleTest)
#include "tst_identifyscale.moc"
