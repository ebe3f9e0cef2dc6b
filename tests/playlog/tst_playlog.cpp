#include "fs/faults.h"
#include "playlog/playlog.h"
#include "support/gamefolder.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

using Results = std::optional<QStringList>;
Q_DECLARE_METATYPE(Results)

namespace {

// A literal with its NUL bytes.
template <size_t N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

struct Rig {
    TempEnvironment env;
    GameFolder game{env};
    GamePaths paths{"C:", "\\Sierra\\FBPro97\\", "VPNFL"};
    RecordingNotifier notifier;

    PlayLogUpdate update(const Results& results) { return UpdatePlayLog(paths, results, notifier); }
    QByteArray fbPlayLog() const {
        return TempEnvironment::readHostFile(game.hostFile("FBplay.log"));
    }
    bool hasFbPlayLog() const { return QFile::exists(game.hostFile("FBplay.log")); }
};

QByteArray convert(const QByteArray& log, const Results& results) {
    Rig rig;
    rig.game.write("play.log", log);
    if (rig.update(results) != PlayLogUpdate::Written)
        return "<failed: " + rig.notifier.messages.join('|').toLatin1() + ">";
    return rig.fbPlayLog();
}

} // namespace

class PlayLogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { fs::faults::clearHook(); }

    void namesFromPaths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("play path") << "VPNFL\\OFF\\SWEEP.ply"
                                   << "SWEEP";
        QTest::newRow("no backslash") << "SWEEP.ply"
                                      << "SWEEP";
        QTest::newRow("unknown play") << "Unknown Play"
                                      << "Unknown ";
        QTest::newRow("shorter than the extension") << "VPNFL\\ab"
                                                    << "";
    }
    void namesFromPaths() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(PlayNameFromPath(path), name);
    }

    void convertsLines_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<Results>("results");
        QTest::addColumn<QByteArray>("expected");
        const Results two = QStringList{"VPNFL\\OFF\\SWEEP.ply", "VPNFL\\DEF\\BLITZ.ply"};
        QTest::newRow("no marker, no validation: a copy")
            << QByteArray("a\r\nb\r\n") << Results() << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR, CR LF, lone LF and a last line without an end")
            << QByteArray("a\rb\r\nc\nd\r\r\ne") << Results()
            << QByteArray("a\r\nb\r\nc\nd\r\n\r\ne\r\n");
        QTest::newRow("three markers, two names")
            << QByteArray("1 FBPlay~1 x\r\n2 FBPlay~2 y\r\n3 FBPlay~3 z\r\n") << two
            << QByteArray("1 SWEEP  x\r\n2 BLITZ  y\r\n3 FBPlay~3 z\r\n");
        QTest::newRow("only the first marker of a line")
            << QByteArray("FBPlay~1 FBPlay~2\r\nFBPlay~3\r\n") << two
            << QByteArray("SWEEP  FBPlay~2\r\nBLITZ \r\n");
        QTest::newRow("marker as the last seven bytes")
            << QByteArray("run FBPlay~") << two << QByteArray("run SWEEP \r\n");
        QTest::newRow("unknown play")
            << QByteArray("FBPlay~1gain") << Results(QStringList{"Unknown Play"})
            << QByteArray("Unknown  gain\r\n");
        QTest::newRow("marker letter case matters")
            << QByteArray("fbplay~1 FBPLAY~1") << two << QByteArray("fbplay~1 FBPLAY~1\r\n");
        QTest::newRow("validation without plays")
            << QByteArray("FBPlay~1\r\n") << Results(QStringList{}) << QByteArray("FBPlay~1\r\n");
        QTest::newRow("any other byte passes through")
            << raw("\xc3\xa9 FBPlay~\xc3\xa9\x00\xff\r\n")
            << Results(QStringList{QString::fromLatin1("VPNFL\\\xe9t\xe9.ply")})
            << raw("\xc3\xa9 \xe9t\xe9 \xa9\x00\xff\r\n");
    }
    void convertsLines() {
        QFETCH(QByteArray, log);
        QFETCH(Results, results);
        QFETCH(QByteArray, expected);
        QCOMPARE(convert(log, results), expected);
    }

    void longLinesAndManyNames() {
        QStringList results;
        QByteArray log, expected;
        for (int i = 0; i < 40'000; ++i) {
            results << QStringLiteral("VPNFL\\P%1.ply").arg(i);
            log += "FBPlay~X\r\n";
            expected += QStringLiteral("P%1 \r\n").arg(i).toLatin1();
        }
        const QByteArray longLine(100'000, 'x');
        QCOMPARE(convert(log + longLine + "FBPlay~1", results),
                 expected + longLine + "FBPlay~1\r\n");
    }

    void replacesTheOldFileAndRepeats() {
        Rig rig;
        rig.game.write("FBplay.log", "old contents that are longer\r\n");
        rig.game.write("play.log", "FBPlay~1");
        const Results results = QStringList{"VPNFL\\A.ply"};
        QCOMPARE(rig.update(results), PlayLogUpdate::Written);
        const QByteArray first = rig.fbPlayLog();
        QCOMPARE(first, QByteArray("A \r\n"));
        QCOMPARE(rig.update(results), PlayLogUpdate::Written);
        QCOMPARE(rig.fbPlayLog(), first);
        QVERIFY(rig.notifier.messages.isEmpty());
    }

    void emptyPlayLogLeavesNoFbPlayLog() {
        Rig rig;
        rig.game.write("FBplay.log", "old");
        rig.game.write("play.log", "");
        QCOMPARE(rig.update(Results()), PlayLogUpdate::Emptied);
        QVERIFY(!rig.hasFbPlayLog());
        QCOMPARE(rig.update(Results()), PlayLogUpdate::Emptied);
        QVERIFY(rig.notifier.messages.isEmpty());
    }

    // Every failure says so and leaves the previous FBplay.log exactly as it was.
    void failuresKeepTheOldFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("no play.log")
            << "no play.log" << int(PlayLogUpdate::NoPlayLog) << "The play.log does not exist";
        QTest::newRow("not validated") << "not validated" << int(PlayLogUpdate::NotValidated)
                                       << "You must Validate Plays first";
        QTest::newRow("write error")
            << "write error" << int(PlayLogUpdate::Failed) << "FBplay.log could not be written: ";
        QTest::newRow("read error")
            << "read error" << int(PlayLogUpdate::Failed) << "The play.log could not be read: ";
    }
    void failuresKeepTheOldFile() {
        QFETCH(QString, failure);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        Rig rig;
        rig.game.write("FBplay.log", "previous\r\n");
        QByteArray log;
        for (int i = 0; i < 20'000; ++i) // several chunks, so a failure can come half-way
            log += "line without a marker\r\n";
        rig.game.write("play.log", log + "FBPlay~1\r\n");
        Results results = QStringList{"VPNFL\\A.ply"};
        if (failure == "no play.log")
            rig.game.remove("play.log");
        if (failure == "not validated")
            results.reset();
        int writes = 0;
        fs::faults::setHook([&](fs::faults::Op op, const QString& host) {
            const bool fail =
                (failure == "write error" && op == fs::faults::Op::Write && ++writes == 3) ||
                (failure == "read error" && op == fs::faults::Op::Read &&
                 host.endsWith("play.log"));
            return fail ? std::optional<fs::Error>(fs::Error{fs::ErrorKind::DiskFull, {}})
                        : std::nullopt;
        });
        QCOMPARE(int(rig.update(results)), outcome);
        QCOMPARE(rig.notifier.messages.size(), 1);
        QVERIFY2(rig.notifier.messages[0].startsWith(message),
                 qPrintable(rig.notifier.messages[0]));
        QCOMPARE(rig.fbPlayLog(), QByteArray("previous\r\n"));
        QCOMPARE(QDir(rig.game.host()).entryList(QDir::Files | QDir::Hidden).size(),
                 failure == "no play.log" ? 1 : 2); // no temporary file left behind
    }

    void missingGameFolderIsReported() {
        Rig rig;
        rig.paths.gFBVer = "\\Sierra\\Nowhere\\";
        QCOMPARE(rig.update(Results()), PlayLogUpdate::Failed);
        QCOMPARE(rig.notifier.messages,
                 QStringList{"The game folder C:\\Sierra\\Nowhere\\ does not exist"});
    }
};

QTEST_GUILESS_MAIN(PlayLogTest)
#include "tst_playlog.moc"
