#include "fs/faults.h"
#include "identifyrig.h"
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
};

QTEST_GUILESS_MAIN(IdentifyPlayTest)
#include "tst_identifyplay.moc"
