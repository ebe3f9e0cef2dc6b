// Finding Wine prefixes and the game in them, on scratch home folders: every place a front end
// keeps its prefixes, what qualifies, and the order the list is shown in.
#include "fs/wineprefixes.h"
#include "support/platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace huddlex;
using Place = fs::WinePrefix::Place;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
}

// A prefix as Wine leaves it (system.reg, drive_c), with the game folders given below drive_c.
QString makePrefix(const QString& path, const QStringList& gameFolders = {}) {
    touch(path + "/system.reg");
    QDir().mkpath(path + "/drive_c/windows");
    for (const QString& folder : gameFolders)
        QDir().mkpath(path + "/drive_c/" + folder);
    return path;
}

QStringList labels(const QList<fs::WinePrefix>& found, const QString& home) {
    QStringList result;
    for (const fs::WinePrefix& prefix : found)
        result << fs::describe(prefix, home);
    return result;
}

} // namespace

class WinePrefixesTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        scratch_.reset(new QTemporaryDir);
        home_ = scratch_->path() + "/home";
        QDir().mkpath(home_);
    }

    void eachPlaceIsFound_data() {
        QTest::addColumn<QString>("folder"); // below the home folder; "$" for $WINEPREFIX
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("label");
        QTest::newRow("WINEPREFIX") << "$" << int(Place::Environment) << "~/custom - FBPro 97";
        QTest::newRow("~/.wine") << ".wine" << int(Place::DotWine) << "~/.wine - FBPro 97";
        QTest::newRow("Bottles") << ".local/share/bottles/bottles/My Game" << int(Place::Bottles)
                                 << "My Game (Bottles) - FBPro 97";
        QTest::newRow("Bottles, Flatpak")
            << ".var/app/com.usebottles.bottles/data/bottles/bottles/fb"
            << int(Place::BottlesFlatpak) << "fb (Bottles, Flatpak) - FBPro 97";
        QTest::newRow("Lutris") << "Games/fbpro" << int(Place::Games) << "~/Games/fbpro - FBPro 97";
        QTest::newRow("PlayOnLinux") << ".PlayOnLinux/wineprefix/FBPro" << int(Place::PlayOnLinux)
                                     << "FBPro (PlayOnLinux) - FBPro 97";
    }
    void eachPlaceIsFound() {
        QFETCH(QString, folder);
        QFETCH(int, place);
        const bool fromEnvironment = folder == "$";
        const QString path = home_ + '/' + (fromEnvironment ? QString("custom") : folder);
        makePrefix(path, {"Sierra/FBPro97/VPNFL"});
        const auto found = fs::findWinePrefixes({home_, fromEnvironment ? path : QString()});
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().path, path);
        QCOMPARE(int(found.first().place), place);
        QCOMPARE(found.first().versions, QStringList{"FBPro97"});
        QTEST(fs::describe(found.first(), home_), "label");
    }

    // A prefix needs system.reg (a file) and drive_c (a folder); anything else in the places
    // is passed over.
    void onlyPrefixesQualify() {
        const QString games = home_ + "/Games";
        makePrefix(games + "/good");
        touch(games + "/no-drive/system.reg");
        QDir().mkpath(games + "/no-registry/drive_c/Sierra/FBPro97");
        QDir().mkpath(games + "/registry-folder/system.reg");
        QDir().mkpath(games + "/registry-folder/drive_c");
        touch(games + "/drive_c-is-a-file/system.reg");
        touch(games + "/drive_c-is-a-file/drive_c");
        touch(games + "/a-file");
        const auto found = fs::findWinePrefixes({home_, home_ + "/missing"});
        QCOMPARE(labels(found, home_), QStringList{"~/Games/good"});
        QVERIFY(!found.first().hasGame());
        // No place at all is no prefix either.
        QVERIFY(fs::findWinePrefixes({home_ + "/nobody", {}}).isEmpty());
    }

    // The prefixes holding the game first, then the others; each group in the order of the
    // places, names alphabetical whatever their letter case; the game found in any case.
    void gameHoldersComeFirst() {
        makePrefix(home_ + "/.wine");
        makePrefix(home_ + "/Games/zeta", {"SIERRA/fbpro98"});
        makePrefix(home_ + "/Games/Alpha");
        makePrefix(home_ + "/Games/beta", {"sierra/FBPro97", "sierra/FBPRO98"});
        makePrefix(home_ + "/.local/share/bottles/bottles/Office");
        makePrefix(home_ + "/.PlayOnLinux/wineprefix/FB", {"Sierra/FBPro97"});
        makePrefix(home_ + "/.local/share/bottles/bottles/Wrong", {"Sierra/FBPro99", "FBPro97"});
        touch(home_ + "/.local/share/bottles/bottles/Filed/drive_c/Sierra/FBPro97");
        touch(home_ + "/.local/share/bottles/bottles/Filed/system.reg");
        const auto found = fs::findWinePrefixes({home_, {}});
        QCOMPARE(labels(found, home_), (QStringList{
                                           "~/Games/beta - FBPro 97, 98",
                                           "~/Games/zeta - FBPro 98",
                                           "FB (PlayOnLinux) - FBPro 97",
                                           "~/.wine",
                                           "Filed (Bottles)",
                                           "Office (Bottles)",
                                           "Wrong (Bottles)",
                                           "~/Games/Alpha",
                                       }));
        QCOMPARE(found.first().versions, (QStringList{"FBPro97", "FBPro98"}));
    }

    // $WINEPREFIX naming ~/.wine is one prefix, listed as the environment's.
    void onePrefixOnce() {
        makePrefix(home_ + "/.wine", {"Sierra/FBPro97"});
        const auto found = fs::findWinePrefixes({home_, home_ + "/.wine/"});
        QCOMPARE(found.size(), 1);
        QCOMPARE(int(found.first().place), int(Place::Environment));
        QCOMPARE(found.first().path, home_ + "/.wine");
        if (test::onWindows)
            return; // the links below are shortcuts there
        QDir().mkpath(home_ + "/Games");
        QVERIFY(QFile::link(home_ + "/.wine", home_ + "/Games/linked"));
        QCOMPARE(fs::findWinePrefixes({home_, {}}).size(), 1);
    }

    // Drive C: is what the drive mapping takes: the dosdevices entry before drive_c.
    void driveCIsTheDosdevicesEntry() {
        if (test::onWindows)
            QSKIP("dosdevices links are symbolic links, which a Windows program does not make");
        const QString prefix = makePrefix(home_ + "/Games/linked");
        const QString elsewhere = scratch_->path() + "/elsewhere";
        QDir().mkpath(elsewhere + "/Sierra/FBPro98");
        QDir().mkpath(prefix + "/dosdevices");
        QVERIFY(QFile::link(elsewhere, prefix + "/dosdevices/c:"));
        QCOMPARE(fs::gameVersionsIn(prefix), QStringList{"FBPro98"});
    }

    void pickedFolderStandsForItsPrefix_data() {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("the prefix") << "p"
                                    << "p";
        QTest::newRow("its drive_c") << "p/drive_c"
                                     << "p";
        QTest::newRow("its dosdevices, trailing slash") << "p/dosdevices/"
                                                        << "p";
        QTest::newRow("a folder on drive C:") << "p/drive_c/Sierra"
                                              << "p/drive_c/Sierra";
        QTest::newRow("drive_c of no prefix") << "plain/drive_c"
                                              << "plain/drive_c";
    }
    void pickedFolderStandsForItsPrefix() {
        QFETCH(QString, picked);
        QFETCH(QString, prefix);
        makePrefix(home_ + "/p", {"Sierra"});
        QDir().mkpath(home_ + "/p/dosdevices");
        QDir().mkpath(home_ + "/plain/drive_c");
        QCOMPARE(fs::prefixForPickedFolder(home_ + '/' + picked), home_ + '/' + prefix);
    }

    void homeIsWrittenAsTilde_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("shown");
        QTest::newRow("below") << "/home/ann/.wine"
                               << "/home/ann"
                               << "~/.wine";
        QTest::newRow("home itself") << "/home/ann"
                                     << "/home/ann/"
                                     << "~";
        QTest::newRow("a longer name") << "/home/anna/.wine"
                                       << "/home/ann"
                                       << "/home/anna/.wine";
        QTest::newRow("home is the root") << "/x/.wine"
                                          << "/"
                                          << "/x/.wine";
    }
    void homeIsWrittenAsTilde() {
        QFETCH(QString, path);
        QFETCH(QString, home);
        QTEST(fs::withTilde(path, home), "shown");
    }

private:
    std::unique_ptr<QTemporaryDir> scratch_;
    QString home_;
};

QTEST_GUILESS_MAIN(WinePrefixesTest)
#include "tst_wineprefixes.moc"
