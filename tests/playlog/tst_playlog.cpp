#include "fs/faults.h"
#include "playlog/playlog.h"
#include "support/gamefolder.h"
#include "support/platform.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
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

    // Fed in chunks split anywhere, the converter writes what the line rule gives line by line.
    void chunksSplitAnywhere() {
        QRandomGenerator random(1998);
        const char* pieces[] = {"FBPlay~", "FBPlay", "~", "\r", "\n", "\r\n", "x", "ab "};
        for (int round = 0; round < 300; ++round) {
            QByteArray log;
            const int count = random.bounded(0, 40);
            for (int i = 0; i < count; ++i)
                log += pieces[random.bounded(8)];
            const int names = random.bounded(0, 6);
            Results results;
            if (random.bounded(5) > 0) {
                results = QStringList();
                for (int i = 0; i < names; ++i)
                    results->append(QStringLiteral("VPNFL\\P%1.ply").arg(i));
            }
            // The rule, line by line.
            PlayLogNames wholeNames(results);
            QByteArray whole;
            bool wholeOk = true;
            for (qsizetype pos = 0; pos < log.size() && wholeOk;) {
                const qsizetype cr = log.indexOf('\r', pos);
                const qsizetype end = cr < 0 ? log.size() : cr;
                wholeOk =
                    WritePlayLogLine(QByteArrayView(log).sliced(pos, end - pos), wholeNames, whole);
                pos = cr < 0 ? log.size() : cr + 1;
                if (cr >= 0 && pos < log.size() && log[pos] == '\n')
                    ++pos;
            }
            // The converter, on random chunks.
            PlayLogNames chunkNames(results);
            PlayLogConverter converter(chunkNames);
            QByteArray chunked;
            bool chunkOk = true;
            for (qsizetype pos = 0; pos < log.size() && chunkOk;) {
                const qsizetype length =
                    std::min<qsizetype>(random.bounded(1, 9), log.size() - pos);
                chunkOk = converter.feed(QByteArrayView(log).sliced(pos, length), chunked);
                pos += length;
            }
            QCOMPARE(chunkOk, wholeOk);
            if (chunkOk) {
                converter.finish(chunked);
                QCOMPARE(chunked, whole);
                QCOMPARE(chunkNames.used(), wholeNames.used());
            }
        }
    }

    // FBplay.log is one file, as on Windows: whatever holds that name in another letter case
    // is what the update replaces, and a link is replaced rather than written through.
    void oneFbPlayLogWhateverItsCase_data() {
        QTest::addColumn<QString>("existing"); // "file:NAME", "link:NAME" or "folder:NAME"
        QTest::addColumn<QByteArray>("playLog");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("entries"); // the game folder's entries afterwards
        const int written = int(PlayLogUpdate::Written);
        const int emptied = int(PlayLogUpdate::Emptied);
        const int failed = int(PlayLogUpdate::Failed);
        QTest::newRow("other case replaced") << "file:fbplay.log" << QByteArray("FBPlay~1")
                                             << written << QStringList{"fbplay.log", "play.log"};
        QTest::newRow("other case deleted by an empty play.log")
            << "file:FBPLAY.LOG" << QByteArray() << emptied << QStringList{"play.log"};
        QTest::newRow("exact name wins over another case")
            << "file:FBplay.log" << QByteArray("FBPlay~1") << written
            << QStringList{"FBplay.log", "fbplay.log", "play.log"};
        QTest::newRow("link replaced") << "link:FBplay.log" << QByteArray("FBPlay~1") << written
                                       << QStringList{"FBplay.log", "play.log"};
        QTest::newRow("link in another case replaced")
            << "link:fbPlay.log" << QByteArray("FBPlay~1") << written
            << QStringList{"fbPlay.log", "play.log"};
        QTest::newRow("link deleted by an empty play.log")
            << "link:FBplay.log" << QByteArray() << emptied << QStringList{"play.log"};
        QTest::newRow("folder left alone") << "folder:FBplay.log" << QByteArray("FBPlay~1")
                                           << failed << QStringList{"FBplay.log", "play.log"};
        QTest::newRow("folder in another case left alone")
            << "folder:fbplay.LOG" << QByteArray() << failed
            << QStringList{"fbplay.LOG", "play.log"};
    }
    void oneFbPlayLogWhateverItsCase() {
        QFETCH(QString, existing);
        QFETCH(QByteArray, playLog);
        QFETCH(int, outcome);
        QFETCH(QStringList, entries);
        Rig rig;
        rig.game.write("play.log", playLog);
        const QString outside = rig.env.root() + "/outside.log";
        QFile target(outside);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("not ours") == 8);
        target.close();
        const QString kind = existing.section(':', 0, 0);
        const QString name = existing.section(':', 1);
        if (test::onWindows && kind == "link")
            QSKIP("a Windows link is a shortcut file, which is written like any other file");
        if (test::onWindows && kind == "file" && name == "FBplay.log")
            QSKIP("Windows keeps one file per name whatever its letter case");
        if (kind == "file")
            rig.game.write(name, "old");
        else if (kind == "link")
            QVERIFY(QFile::link(outside, rig.game.hostFile(name)));
        else
            QDir().mkpath(rig.game.hostFile(name + "/inside"));
        if (name == "FBplay.log" && kind == "file")
            rig.game.write("fbplay.log", "another file");

        QCOMPARE(int(rig.update(QStringList{"VPNFL\\A.ply"})), outcome);
        QStringList after =
            QDir(rig.game.host()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        after.sort();
        entries.sort();
        QCOMPARE(after, entries);
        QCOMPARE(TempEnvironment::readHostFile(outside), QByteArray("not ours"));
        if (outcome == int(PlayLogUpdate::Written)) {
            QVERIFY(!QFileInfo(rig.game.hostFile(name)).isSymLink());
            QCOMPARE(TempEnvironment::readHostFile(rig.game.hostFile(name)), QByteArray("A \r\n"));
            QVERIFY(rig.notifier.messages.isEmpty());
        }
        if (name == "FBplay.log" && kind == "file")
            QCOMPARE(TempEnvironment::readHostFile(rig.game.hostFile("fbplay.log")),
                     QByteArray("another file"));
        if (outcome == int(PlayLogUpdate::Failed)) {
            QCOMPARE(rig.notifier.messages.size(), 1);
            QVERIFY2(rig.notifier.messages[0].contains("not an ordinary file"),
                     qPrintable(rig.notifier.messages[0]));
            QVERIFY(QFileInfo::exists(rig.game.hostFile(name + "/inside")));
        }
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
