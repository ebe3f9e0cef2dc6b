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
        for (const char* prefix : {"wine", ".wine", "Games/a", "Games/b"})
            TempEnvironment::makeWinePrefix(env.root() + '/' + prefix);
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
    // exactly one prefix holding it; whatever the user has chosen already stands.
    void firstStart_data() {
        QTest::addColumn<QStringList>("prefixes"); // "folder:game folder,game folder"
        QTest::addColumn<QString>("preset");       // "key=value" stored first, or "session=folder"
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("prefix");  // stored WinePrefix below the root, "-" for none
        QTest::addColumn<QString>("version"); // stored FBVer, "-" for none
        QTest::addColumn<QString>("note");
        const QStringList one{"Games/fb:Sierra/FBPro97", "Games/other:"};
        QTest::newRow("none found")
            << QStringList{"Games/empty:"} << "" << int(Outcome::Unchanged) << "-"
            << "-"
            << "";
        QTest::newRow("one") << one << "" << int(Outcome::ChoseOne) << "Games/fb" << v97
                             << "Using ~/Games/fb";
        QTest::newRow("one, FBPro 98 in other letters")
            << QStringList{".local/share/bottles/bottles/FB:SIERRA/fbpro98"} << ""
            << int(Outcome::ChoseOne) << ".local/share/bottles/bottles/FB" << v98
            << "Using FB (Bottles)";
        QTest::newRow("one with both versions keeps the version")
            << QStringList{"Games/fb:Sierra/FBPro97,Sierra/FBPro98"} << "" << int(Outcome::ChoseOne)
            << "Games/fb"
            << "-"
            << "Using ~/Games/fb";
        QTest::newRow("several") << QStringList{"Games/a:Sierra/FBPro97",
                                                ".PlayOnLinux/wineprefix/b:Sierra/FBPro98",
                                                "Games/c:"}
                                 << "" << int(Outcome::FoundSeveral) << "-"
                                 << "-"
                                 << "FBPro in 2 prefixes: Settings";
        QTest::newRow("game in the default prefix")
            << (one + QStringList{".wine:Sierra/FBPro97"}) << "" << int(Outcome::Unchanged) << "-"
            << "-"
            << "";
        QTest::newRow("WinePrefix stored empty")
            << one << "WinePrefix=" << int(Outcome::Unchanged) << ""
            << "-"
            << "";
        QTest::newRow("another drive chosen")
            << one << "FBDrive=D:" << int(Outcome::Unchanged) << "-"
            << "-"
            << "";
        QTest::newRow("--wine-prefix")
            << one << "session=Games/other" << int(Outcome::Unchanged) << "-"
            << "-"
            << "";
    }
    void firstStart() {
        QFETCH(QStringList, prefixes);
        QFETCH(QString, preset);
        QFETCH(QString, prefix);
        QFETCH(QString, version);
        TempEnvironment env;
        qunsetenv("WINEPREFIX");
        for (const QString& spec : prefixes) {
            const QStringList parts = spec.split(':');
            TempEnvironment::makeWinePrefix(env.root() + '/' + parts[0],
                                            parts[1].split(',', Qt::SkipEmptyParts));
        }
        MemorySettingsStore store;
        const QString key = preset.section('=', 0, 0), value = preset.section('=', 1);
        if (!preset.isEmpty() && key != "session")
            store.write(key, value);
        GamePaths paths;
        paths.readFrom(store);
        const QString session = key == "session" ? env.root() + '/' + value : QString();
        const PrefixStartup startup = settleWinePrefix(store, paths, session);
        QTEST(int(startup.outcome), "outcome");
        QTEST(startup.note, "note");
        const QString stored = store.values().value(keys::WinePrefix, "-");
        QCOMPARE(stored, prefix == "-" || prefix.isEmpty() ? prefix : env.root() + '/' + prefix);
        QCOMPARE(store.values().value(keys::FBVer, "-"), version);
        if (startup.outcome == Outcome::ChoseOne) {
            QCOMPARE(fs::DriveMap::winePrefix(), stored);
            QVERIFY(fs::isFolder(paths.gameFolder()));
            QVERIFY(startup.details.contains(stored));
        }
        if (startup.outcome == Outcome::FoundSeveral)
            QVERIFY(startup.details.contains("~/Games/a - FBPro 97\nb (PlayOnLinux) - FBPro 98"));
    }
};

QTEST_GUILESS_MAIN(WinePrefixSettingTest)
#include "tst_wineprefixsetting.moc"
