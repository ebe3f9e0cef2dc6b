// Finding Wine prefixes and the game in them, on scratch home folders: every place a front end
// keeps its prefixes, what qualifies, and the order the list is shown in.
#include "fs/wineprefixes.h"
#include "support/tempenvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace huddlex;
using huddlex::test::TempEnvironment;
using Place = fs::WinePrefix::Place;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
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
        TempEnvironment::makeWinePrefix(path, {"Sierra/FBPro97/VPNFL"});
        const auto found = fs::findWinePrefixes({home_, fromEnvironment ? path : QString()});
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().path, path);
        QCOMPARE(int(found.first().place), place);
        QCOMPARE(found.first().versions, QStringList{"FBPro97"});
        QTEST(fs::describe(found.first(), home_), "label");
    }

    // Only folders with system.reg and drive_c count, each once. Those holding the game come
    // first, then the others; each group in the order of the places, names alphabetical
    // whatever their letter case; the game is found in any letter case.
    void whatCountsAndInWhatOrder() {
        TempEnvironment::makeWinePrefix(home_ + "/.wine");
        TempEnvironment::makeWinePrefix(home_ + "/Games/zeta", {"SIERRA/fbpro98"});
        TempEnvironment::makeWinePrefix(home_ + "/Games/Alpha");
        TempEnvironment::makeWinePrefix(home_ + "/Games/beta",
                                        {"sierra/FBPro97", "sierra/FBPRO98"});
        TempEnvironment::makeWinePrefix(home_ + "/.local/share/bottles/bottles/Office");
        TempEnvironment::makeWinePrefix(home_ + "/.PlayOnLinux/wineprefix/FB", {"Sierra/FBPro97"});
        TempEnvironment::makeWinePrefix(home_ + "/.local/share/bottles/bottles/Wrong",
                                        {"Sierra/FBPro99", "FBPro97"});
        touch(home_ + "/.local/share/bottles/bottles/Filed/drive_c/Sierra/FBPro97");
        touch(home_ + "/.local/share/bottles/bottles/Filed/system.reg");
        touch(home_ + "/Games/no-drive/system.reg");
        QDir().mkpath(home_ + "/Games/no-registry/drive_c/Sierra/FBPro97");
        QDir().mkpath(home_ + "/Games/registry-folder/system.reg");
        QDir().mkpath(home_ + "/Games/registry-folder/drive_c");
        touch(home_ + "/Games/a-file");
        // $WINEPREFIX naming ~/.wine is that one prefix, listed as the environment's.
        const auto found = fs::findWinePrefixes({home_, home_ + "/.wine/"});
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
        QCOMPARE(int(found[3].place), int(Place::Environment));
    }

private:
    std::unique_ptr<QTemporaryDir> scratch_;
    QString home_;
};

QTEST_GUILESS_MAIN(WinePrefixesTest)
#include "tst_wineprefixes.moc"
