#include "league/leaguecheck.h"
#include "leaguerig.h"
#include "support/tempenvironment.h"
#include "validate/fbplan.h"
#include "zipwriter.h"

#include <QDir>
#include <QtTest>

using namespace huddlex;
using namespace huddlex::test;

namespace {

ZipEntry entry(const QByteArray& name, const QByteArray& data) {
    ZipEntry e;
    e.name = name;
    e.data = data;
    return e;
}

// A coach's game: four plans naming both pool plays, play 0 is Draw3, play 1 is Blitz.
QList<ZipEntry> game() {
    const QByteArray plan = "\"VPNFL\\Off\\Draw3.ply\",\"VPNFL\\Def\\Blitz.ply\"\r\n";
    return {entry("Xferbox/XOff1.pln", plan),   entry("Xferbox/XDef1.pln", plan),
            entry("Xferbox/XOff2.pln", plan),   entry("Xferbox/XDef2.pln", plan),
            entry("Xferbox/FBplay0.ply", draw), entry("Xferbox/FBplay1.ply", blitz)};
}

// The game with play 1's entry changed by `change`.
QByteArray withPlay1(const std::function<void(ZipEntry&)>& change) {
    QList<ZipEntry> entries = game();
    change(entries[5]);
    return MakeZip(entries);
}

QByteArray withEntries(const QList<ZipEntry>& more) {
    return MakeZip(game() + more);
}

// The archive with its central directory overwritten from its first byte.
QByteArray damagedDirectory() {
    QByteArray zip = MakeZip(game());
    const qsizetype directory = zip.indexOf("PK\x01\x02");
    for (qsizetype i = directory; i < directory + 60; ++i)
        zip[i] = char(0xA5);
    return zip;
}

QByteArray manyEntries() {
    QList<ZipEntry> entries = game();
    for (int i = 0; entries.size() <= 100'000; ++i)
        entries.append(entry("Xferbox/junk/" + QByteArray::number(i), {}));
    return MakeZip(entries);
}

} // namespace

class HostileArchivesTest : public QObject {
    Q_OBJECT
private slots:
    // Every hostile archive is a clear message for its game or for its entry, the game's other
    // plays still checked where the archive can be read at all.
    void hostile_data() {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<bool>("checked");
        // %1 is the archive as given, '>' the host's separator in the paths below it.
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("play1"); // its outcome; empty when not checked

        const QString blitzPath = "VPNFL\\Def\\Blitz.ply";
        QTest::newRow("..") << withEntries({entry("../Xferbox/FBplay1.ply", draw)}) << true
                            << "\"%1\": the entry \"../Xferbox/FBplay1.ply\" is not read: its "
                               "name leads out of its folder (\"..\")"
                            << blitzPath;
        QTest::newRow("absolute") << withEntries({entry("/tmp/FBplay1.ply", draw)}) << true
                                  << "\"%1\": the entry \"/tmp/FBplay1.ply\" is not read: its "
                                     "name is an absolute path"
                                  << blitzPath;
        QTest::newRow("drive letter")
            << withEntries({entry("C:/Xferbox/FBplay2.ply", draw)}) << true
            << "\"%1\": the entry \"C:/Xferbox/FBplay2.ply\" is not "
               "read: its name begins with a drive letter"
            << blitzPath;
        QTest::newRow("backslash")
            << withEntries({entry("Xferbox\\FBplay2.ply", draw)}) << true
            << "\"%1\": the entry \"Xferbox\\FBplay2.ply\" is not read: its name holds a backslash"
            << blitzPath;
        QTest::newRow("control character")
            << withEntries({entry("Xferbox/FB\nplay2.ply", draw)}) << true
            << "\"%1\": the entry \"Xferbox/FB\nplay2.ply\" is not read: its name holds a control "
               "character"
            << blitzPath;
        QTest::newRow("letter case")
            << withEntries({entry("Xferbox/fbplay1.ply", draw)}) << true
            << "\"%1>Xferbox>FBplay1.ply\" and \"%1>Xferbox>fbplay1.ply\" differ only in letter "
               "case: Windows would keep one of them"
            << blitzPath;
        QTest::newRow("twice") << withEntries({entry("Xferbox/FBplay1.ply", draw)}) << true
                               << "\"%1\": the entry \"Xferbox/FBplay1.ply\" is there more than "
                                  "once; the first is read"
                               << blitzPath;
        QTest::newRow("file and folder")
            << withEntries({entry("Xferbox/FBplay1.ply/x", draw)}) << true
            << "\"%1\": the entry \"Xferbox/FBplay1.ply\" is not read: a folder has its name"
            << ""; // no play 1 at all
        QTest::newRow("encrypted") << withPlay1([](ZipEntry& e) { e.encrypted = true; }) << true
                                   << "Cannot read \"%1>Xferbox>FBplay1.ply\": it is encrypted"
                                   << "Unknown Play";
        QTest::newRow("size too large")
            << withPlay1([](ZipEntry& e) { e.declaredSize = 5000; }) << true
            << "Cannot read \"%1>Xferbox>FBplay1.ply\": it holds fewer bytes than the 5000 its "
               "archive gives"
            << "Unknown Play";
        QTest::newRow("size too small")
            << withPlay1([](ZipEntry& e) { e.declaredSize = 100; }) << true
            << "Cannot read \"%1>Xferbox>FBplay1.ply\": it holds more bytes than the 100 its "
               "archive gives"
            << "Unknown Play";
        QTest::newRow("crc") << withPlay1([](ZipEntry& e) { e.crc = 1234; }) << true
                             << "Cannot read \"%1>Xferbox>FBplay1.ply\": its bytes fail their CRC "
                                "check (damaged)"
                             << "Unknown Play";
        QTest::newRow("zip bomb")
            << withPlay1([](ZipEntry& e) { e = ZeroBomb(e.name, qint64(1) << 30); }) << true
            << "\"%1>Xferbox>FBplay1.ply\" is 1073741824 bytes long, longer than any play: it is "
               "not compared with the other games"
            << "Unknown Play";
        QTest::newRow("encrypted plan")
            << MakeZip([] {
                   QList<ZipEntry> entries = game();
                   entries[0].encrypted = true;
                   return entries;
               }())
            << false
            << "The game plans could not be loaded: Cannot read \"%1>Xferbox>XOff1.pln\": it is "
               "encrypted"
            << "";
        QTest::newRow("zip in a zip")
            << MakeZip({entry("week1/game.zip", MakeZip(game()))}) << false
            << "No folder in \"%1\" holds XOff1.pln; it holds the "
               "archive \"week1/game.zip\", and archives inside an "
               "archive are not opened"
            << "";
        QTest::newRow("two capture folders")
            << withEntries({entry("Old/XOff1.pln", "")}) << false
            << "Several folders hold XOff1.pln, so it is not clear which game to check: "
               "\"%1>Old\", \"%1>Xferbox\""
            << "";
        QTest::newRow("cut short") << MakeZip(game()).left(300) << false
                                   << "Cannot read \"%1\": it is not a zip archive, or it is cut "
                                      "short"
                                   << "";
        QTest::newRow("damaged directory")
            << damagedDirectory() << false
            << "Cannot read \"%1\": it is not a zip archive, or it is cut short"
            << "";
        QTest::newRow("100,001 entries") << manyEntries() << false
                                         << "Cannot read \"%1\": it holds 100001 entries; an "
                                            "archive of more than 100000 is not read"
                                         << "";
    }
    void hostile() {
        QFETCH(QByteArray, zip);
        QFETCH(bool, checked);
        QFETCH(QString, message);
        QFETCH(QString, play1);
        TempEnvironment env;
        WriteFiles(env.root() + "/pool",
                   {{"VPNFL/Off/Draw3.ply", draw}, {"VPNFL/Def/Blitz.ply", blitz}});
        const QString path = env.root() + "/game.zip";
        WriteHostFile(path, zip);

        const league::LeagueResult result =
            league::LeagueCheck(env.root() + "/pool", "VPNFL", {path}).run();
        QCOMPARE(result.games.size(), 1);
        const league::LeagueGame& game = result.games[0];
        const QString expected =
            message.replace('>', QDir::separator()).arg(QDir::toNativeSeparators(path));
        const QString said = checked ? game.problems.join('\n') : game.error;
        QVERIFY2(said.contains(expected), qPrintable(said + "\n  expected: " + expected));
        QCOMPARE(game.checked(), checked);
        QCOMPARE(result.status(), league::LeagueStatus::Unreadable);
        if (checked) {
            QCOMPARE(game.outcomes.value(0), "VPNFL\\Off\\Draw3.ply");
            QCOMPARE(game.outcomes.value(1), play1);
        }
    }
};

QTEST_GUILESS_MAIN(HostileArchivesTest)
#include "tst_hostilearchives.moc"
