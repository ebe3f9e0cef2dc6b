// Which Wine prefix the game's drives come from, and the one choice a first start makes by
// itself: on scratch home folders, with the prefixes found there.
#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "settings/wineprefixsetting.h"
#include "support/platform.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace huddlex;
using huddlex::test::TempEnvironment;
using Outcome = PrefixStartup::Outcome;

namespace {

const QString v97 = QStringLiteral("\\Sierra\\FBPro97\\");
const QString v98 = QStringLiteral("\\Sierra\\FBPro98\\");

QString makePrefix(const QString& path, const QStringList& gameFolders = {}) {
    QDir().mkpath(path + "/drive_c");
    QFile registry(path + "/system.reg");
    if (!registry.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(registry.fileName()));
    for (const QString& folder : gameFolders)
        QDir().mkpath(path + "/drive_c/" + folder);
    return path;
}

} // namespace

class WinePrefixSettingTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (test::onWindows)
            QSKIP("a Windows program uses the system's own drives: there is no Wine prefix");
    }

    // The session's prefix, then the setting, then $WINEPREFIX, then ~/.wine; the session's is
    // never stored.
    void whichPrefixIsUsed_data() {
        QTest::addColumn<QString>("session");
        QTest::addColumn<QString>("stored"); // "-" for no WinePrefix at all
        QTest::addColumn<bool>("environment");
        QTest::addColumn<QString>("used"); // below the scratch root
        QTest::newRow("nothing set: ~/.wine") << ""
                                              << "-" << false << ".wine";
        QTest::newRow("WINEPREFIX") << ""
                                    << "-" << true << "wine";
        QTest::newRow("empty setting keeps the old rule") << ""
                                                          << "" << true << "wine";
        QTest::newRow("setting wins over WINEPREFIX") << ""
                                                      << "Games/a" << true << "Games/a";
        QTest::newRow("setting wins over ~/.wine") << ""
                                                   << "Games/a" << false << "Games/a";
        QTest::newRow("session wins over the setting") << "Games/b"
                                                       << "Games/a" << true << "Games/b";
    }
    void whichPrefixIsUsed() {
        QFETCH(QString, session);
        QFETCH(QString, stored);
        QFETCH(bool, environment);
        QFETCH(QString, used);
        TempEnvironment env;
        if (!environment)
            qunsetenv("WINEPREFIX");
        for (const QString& prefix : {"wine", ".wine", "Games/a", "Games/b"})
            makePrefix(env.root() + '/' + prefix);
        MemorySettingsStore store;
        if (stored != "-")
            store.write(keys::WinePrefix, stored.isEmpty() ? "" : env.root() + '/' + stored);
        const int writes = store.writeCount();
        GamePaths paths;
        paths.readFrom(store);
        const PrefixStartup startup = settleWinePrefix(
            store, paths, session.isEmpty() ? QString() : env.root() + '/' + session);
        QCOMPARE(fs::DriveMap::winePrefix(), env.root() + '/' + used);
        QCOMPARE(*fs::DriveMap::root('c'), env.root() + '/' + used + "/drive_c");
        QCOMPARE(store.writeCount(), writes);
        QCOMPARE(int(startup.outcome), int(Outcome::Unchanged));
        QVERIFY(startup.note.isEmpty());
    }

    // A first start whose game folder is missing looks for the game and takes it when there is
    // exactly one prefix holding it.
    void firstStart_data() {
        QTest::addColumn<QStringList>("prefixes"); // "folder:game folder,game folder"
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("prefix");  // stored WinePrefix below the root, "-" for none
        QTest::addColumn<QString>("version"); // stored FBVer, "-" for none
        QTest::addColumn<QString>("note");
        QTest::newRow("none found") << QStringList{"Games/empty:"} << int(Outcome::Unchanged) << "-"
                                    << "-"
                                    << "";
        QTest::newRow("one, FBPro 97")
            << QStringList{"Games/fb:Sierra/FBPro97", "Games/other:"} << int(Outcome::ChoseOne)
            << "Games/fb" << v97 << "Using ~/Games/fb";
        QTest::newRow("one, FBPro 98 in other letters")
            << QStringList{".local/share/bottles/bottles/FB:SIERRA/fbpro98"}
            << int(Outcome::ChoseOne) << ".local/share/bottles/bottles/FB" << v98
            << "Using FB (Bottles)";
        QTest::newRow("one with both versions keeps the version")
            << QStringList{"Games/fb:Sierra/FBPro97,Sierra/FBPro98"} << int(Outcome::ChoseOne)
            << "Games/fb"
            << "-"
            << "Using ~/Games/fb";
        QTest::newRow("~/.wine with the other version")
            << QStringList{".wine:Sierra/FBPro98"} << int(Outcome::ChoseOne) << ".wine" << v98
            << "Using ~/.wine";
        QTest::newRow("several") << QStringList{"Games/a:Sierra/FBPro97",
                                                ".PlayOnLinux/wineprefix/b:Sierra/FBPro98",
                                                "Games/c:"}
                                 << int(Outcome::FoundSeveral) << "-"
                                 << "-"
                                 << "FBPro in 2 prefixes: Settings";
    }
    void firstStart() {
        QFETCH(QStringList, prefixes);
        QFETCH(QString, prefix);
        QFETCH(QString, version);
        TempEnvironment env;
        qunsetenv("WINEPREFIX");
        for (const QString& spec : prefixes) {
            const QStringList parts = spec.split(':');
            makePrefix(env.root() + '/' + parts[0], parts[1].split(',', Qt::SkipEmptyParts));
        }
        MemorySettingsStore store;
        GamePaths paths;
        paths.readFrom(store);
        const PrefixStartup startup = settleWinePrefix(store, paths, {});
        QTEST(int(startup.outcome), "outcome");
        QTEST(startup.note, "note");
        QCOMPARE(store.values().value(keys::WinePrefix, "-"),
                 prefix == "-" ? prefix : env.root() + '/' + prefix);
        QCOMPARE(store.values().value(keys::FBVer, "-"), version);
        QCOMPARE(store.values().size(), (prefix != "-") + (version != "-"));
        if (startup.outcome == Outcome::ChoseOne) {
            QCOMPARE(fs::DriveMap::winePrefix(), env.root() + '/' + prefix);
            QVERIFY(fs::isFolder(paths.gameFolder()));
            QVERIFY(startup.details.contains(env.root() + '/' + prefix));
        }
        if (startup.outcome == Outcome::FoundSeveral)
            QVERIFY(startup.details.contains("~/Games/a - FBPro 97\nb (PlayOnLinux) - FBPro 98"));
    }

    // Whatever the user has said already stands, and so does a game folder that is there.
    void firstStartOnlyWhenNothingWasChosen_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("defaultHasGame");
        QTest::newRow("WinePrefix stored empty") << "WinePrefix"
                                                 << "" << false;
        QTest::newRow("another drive chosen") << "FBDrive"
                                              << "D:" << false;
        QTest::newRow("game folder in the default prefix") << ""
                                                           << "" << true;
    }
    void firstStartOnlyWhenNothingWasChosen() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, defaultHasGame);
        TempEnvironment env;
        makePrefix(env.root() + "/Games/fb", {"Sierra/FBPro97"});
        if (defaultHasGame)
            env.makeDirs("Sierra/FBPro97");
        MemorySettingsStore store;
        if (!key.isEmpty())
            store.write(key, value);
        const int writes = store.writeCount();
        GamePaths paths;
        paths.readFrom(store);
        QCOMPARE(int(settleWinePrefix(store, paths, {}).outcome), int(Outcome::Unchanged));
        QCOMPARE(store.writeCount(), writes);
        QCOMPARE(fs::DriveMap::winePrefix(), env.root() + "/wine");
    }

    // --wine-prefix makes no choice of its own either, even on a first start.
    void sessionPrefixMakesNoChoice() {
        TempEnvironment env;
        makePrefix(env.root() + "/Games/fb", {"Sierra/FBPro97"});
        const QString session = makePrefix(env.root() + "/Games/empty");
        MemorySettingsStore store;
        GamePaths paths;
        paths.readFrom(store);
        QCOMPARE(int(settleWinePrefix(store, paths, session).outcome), int(Outcome::Unchanged));
        QVERIFY(store.values().isEmpty());
        QCOMPARE(fs::DriveMap::winePrefix(), session);
    }
};

QTEST_GUILESS_MAIN(WinePrefixSettingTest)
#include "tst_wineprefixsetting.moc"
