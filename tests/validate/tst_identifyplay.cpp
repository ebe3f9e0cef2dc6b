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
        QVERIFY(identifier.unreadableCandidates().isEmpty()); // they name no play file
    }

    // A play file that is there but cannot be read matches nothing, and is named, whether its
    // first bytes fail or the bytes a long play is compared with further on.
    void unreadableCandidatesAreNamed_data() {
        QTest::addColumn<int>("failingRead"); // of B.ply: 1 its prefix, 2 the read past it
        QTest::addColumn<qint64>("playLength");
        QTest::addColumn<QString>("expected");
        const qint64 cap = PlayIdentifier::kPrefixBytes;
        QTest::newRow("prefix, short play") << 1 << qint64(10) << UnknownPlay;
        QTest::newRow("prefix, long play") << 1 << 2 * cap << UnknownPlay;
        QTest::newRow("past the prefix") << 2 << 2 * cap << UnknownPlay;
        QTest::newRow("readable earlier candidate still wins") << 1 << qint64(3) << "VPNFL\\A.ply";
    }
    void unreadableCandidatesAreNamed() {
        QFETCH(int, failingRead);
        QFETCH(qint64, playLength);
        QFETCH(QString, expected);
        const QByteArray b = bytes(int(3 * PlayIdentifier::kPrefixBytes), 'b');
        Rig rig;
        rig.writeFiles({{"VPNFL/A.ply", "bcd"}, {"VPNFL/B.ply", b}});
        rig.setCandidates({"VPNFL\\A.ply", "VPNFL\\B.ply"});
        rig.capture(0, b.left(int(playLength)));
        int readsOfB = 0;
        fs::faults::setHook([&](fs::faults::Op op,
                                const QString& host) -> std::optional<fs::Error> {
            if (op == fs::faults::Op::Read && host.endsWith("/B.ply") && ++readsOfB == failingRead)
                return fs::Error{fs::ErrorKind::AccessDenied, "denied"};
            return std::nullopt;
        });
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), expected);
        const auto unreadable = identifier.unreadableCandidates();
        QCOMPARE(unreadable.size(), 1);
        QVERIFY(unreadable.first().path.endsWith("VPNFL\\B.ply"));
        QVERIFY(unreadable.first().error.message.contains("access denied"));
    }

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

    // Names that differ only in letter case are two files, and each spelling of a name finds
    // the file an exact spelling would, or else the first in name order.
    void letterCaseKeepsFilesApart_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("play");
        QTest::addColumn<QString>("expected");
        const QStringList both{"VPNFL\\A.ply", "VPNFL\\a.ply"};
        QTest::newRow("lower of two") << both << QByteArray("lower") << "VPNFL\\a.ply";
        QTest::newRow("upper of two") << both << QByteArray("upper") << "VPNFL\\A.ply";
        QTest::newRow("lower first in the plan")
            << QStringList{"VPNFL\\a.ply", "VPNFL\\A.ply"} << QByteArray("upper") << "VPNFL\\A.ply";
        QTest::newRow("other case finds the first in name order")
            << QStringList{"VPNFL\\rUN.ply"} << QByteArray("RUN") << "VPNFL\\rUN.ply";
        QTest::newRow("and only that one")
            << QStringList{"VPNFL\\rUN.ply"} << QByteArray("Run") << UnknownPlay;
        QTest::newRow("folder spellings lead to one folder")
            << QStringList{"VPNFL\\off\\Run.ply", "VPNFL\\OFF\\RUN.ply", "VPNFL\\Off\\run.ply"}
            << QByteArray("run") << "VPNFL\\off\\Run.ply";
        QTest::newRow("dot parts never match")
            << QStringList{"VPNFL\\Off\\..\\a.ply", "VPNFL\\.\\a.ply",
                           "VPNFL\\..\\FBPro97\\Vpnfl\\a.ply"}
            << QByteArray("lower") << UnknownPlay;
    }
    void letterCaseKeepsFilesApart() {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, play);
        QFETCH(QString, expected);
        if (test::onWindows)
            QSKIP("Windows keeps one file per name whatever its letter case");
        Rig rig;
        rig.writeFiles({{"VPNFL/A.ply", "upper"},
                        {"VPNFL/a.ply", "lower"},
                        {"VPNFL/RUN.ply", "RUN"},
                        {"VPNFL/Run.ply", "Run"},
                        {"VPNFL/OFF/RUN.ply", "run"}});
        rig.setCandidates(entries);
        rig.capture(0, play);
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        QCOMPARE(identifier.IdentifyPlay(0), expected);
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

    // Plan paths are Windows-1252; on disk the names are Unicode, as Wine stores them. The
    // outcome keeps the plan's bytes.
    void planPathsAreWindows1252_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("onDisk");
        QTest::newRow("right single quote")
            << QByteArray("VPNFL\\Smith\x92s Run.ply") << QString::fromUtf8("Smith\u2019s Run.ply");
        QTest::newRow("dashes and ellipsis")
            << QByteArray("VPNFL\\Go \x96 go \x97 go\x85.ply")
            << QString::fromUtf8("Go \u2013 go \u2014 go\u2026.ply");
        QTest::newRow("euro and quotes") << QByteArray("VPNFL\\\x80\x93Q\x94.ply")
                                         << QString::fromUtf8("\u20ac\u201cQ\u201d.ply");
        QTest::newRow("Latin-1 letter")
            << QByteArray("VPNFL\\Caf\xe9.ply") << QString::fromUtf8("Caf\u00e9.ply");
        QTest::newRow("undefined byte")
            << QByteArray("VPNFL\\x\x81.ply") << QString(QChar(0x81)).prepend('x') + ".ply";
        QTest::newRow("letter case across the code page")
            << QByteArray("VPNFL\\\x8a\xc9.ply") << QString::fromUtf8("\u0161\u00e9.ply");
    }
    void planPathsAreWindows1252() {
        QFETCH(QByteArray, entry);
        QFETCH(QString, onDisk);
        Rig rig;
        rig.writeFiles({{"VPNFL/" + onDisk, "the play"}});
        rig.playFiles = ExtractPlayPaths(entry, "VPNFL", ".ply");
        rig.capture(0, "the play");
        PlayIdentifier identifier(rig.paths, rig.playFiles);
        const QString outcome = identifier.IdentifyPlay(0);
        QCOMPARE(outcome, QString::fromLatin1(entry));
        QCOMPARE(outcome.toLatin1(), entry);
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
};

QTEST_GUILESS_MAIN(IdentifyPlayTest)
#include "tst_identifyplay.moc"
