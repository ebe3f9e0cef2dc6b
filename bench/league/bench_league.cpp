// The league check over a season against its floor, measured in the same run.
//   bench_league               makes a season in a scratch folder, then measures it in a child
//                              process, whose peak memory is then the check's own
//   bench_league --write DIR   makes the season in DIR
//   bench_league --measure DIR measures a season made before
// The floor is what any check must do at least: read every entry of every game's archive and
// every play file of the pool once, decompression included.

#include "archive/ziparchive.h"
#include "benchtools.h"
#include "fs/foldertree.h"
#include "league/leaguecheck.h"
#include "season.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace huddlex;

namespace {

// Reads every file below `folder` whole; the number of bytes.
qint64 readAll(const fs::Folder& folder) {
    qint64 bytes = 0;
    for (const fs::TreeFile& file : fs::listTree(folder, QString()).files) {
        fs::Result<fs::InputFile> in = file.folder.openFile(file.name);
        fs::Result<QByteArray> data =
            in ? in.value().read(in->size()) : fs::Result<QByteArray>(in.error());
        if (!data)
            qFatal("cannot read %s", qPrintable(data.message()));
        bytes += data->size();
    }
    return bytes;
}

qint64 floorRun(const QString& pool, const QStringList& games) {
    qint64 bytes = readAll(archive::ZipArchive::open(pool)->root());
    for (const QString& game : games)
        bytes += readAll(archive::ZipArchive::open(game)->root());
    return bytes;
}

void measure(const QString& dir) {
    const QString pool = dir + "/pool.zip";
    QStringList games, weeks;
    for (QDirIterator it(dir + "/season", {"*.zip"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        games << it.next();
    games.sort();
    for (const QString& week : QDir(dir + "/season").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        weeks << dir + "/season/" + week; // each a folder of games

    league::LeagueResult result;
    qint64 bytes = 0;
    const double before = peakMegabytes();
    const std::vector<double> best =
        bestInterleaved(3, {[&] { bytes = floorRun(pool, games); },
                            [&] { result = league::LeagueCheck(pool, "VPNFL", weeks).run(); }});
    qint64 plays = 0, modified = 0;
    for (const league::LeagueGame& game : result.games) {
        plays += game.plays.size();
        for (const PlayEntry& play : game.plays)
            modified += play.verdict == Verdict::Modified ? 1 : 0;
    }
    std::printf("Season: %lld games, %lld captured plays (%lld unknown, %lld modified), %lld plan "
                "gaps, %lld repeated unknown plays, pool of %lld plays\n",
                qint64(result.games.size()), plays, result.unknown(), modified, result.gaps(),
                qint64(result.repeated.size()), result.pool.plays);
    std::printf("  floor: every entry and pool file read once  %8.0f ms  (%.0f MB)\n", best[0],
                bytes / 1e6);
    std::printf("  league check                                %8.0f ms  %.2fx the floor%s\n",
                best[1], best[1] / best[0], best[1] / best[0] <= 1.5 ? "" : "  (over 1.5x)");
    std::printf("  peak memory %.1f MB (%.1f MB before the runs)\n", peakMegabytes(), before);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--write")) {
        Season().write(args[2]);
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--measure")) {
        measure(args[2]);
        return 0;
    }
    QTemporaryDir scratch;
    QElapsedTimer made;
    made.start();
    Season().write(scratch.path());
    std::printf("Season written in %.1f s\n", made.nsecsElapsed() / 1e9);
    return runChild({QStringLiteral("--measure"), scratch.path()});
}
