// Validation and play log speed against a floor and a baseline measured in the same run.
//   bench_validate            the league case and the play log
//   bench_validate --empty    the empty start marker on a 1 MB plan text
// Peak memory (maximum resident set) is printed after each part.

#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "leaguecase.h"
#include "playlog/playlog.h"
#include "processstats.h"
#include "settings/settingsstore.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace huddlex;

namespace {

struct QuietNotifier : Notifier {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

double peakMegabytes() {
    return bench::peakMemoryKb() / 1024.0;
}

// Best of `runs`, in milliseconds: the least disturbed measurement.
template <class F> double bestOf(int runs, F&& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

GamePaths pathsFor(MemorySettingsStore& store) {
    GamePaths paths;
    paths.readFrom(store);
    return paths;
}

// The rule as first written: every candidate reopened and compared for every play.
QString literalIdentify(const GamePaths& paths, const PlayPathList& files, int number) {
    const auto play = fs::readFile(paths.captureFile(QStringLiteral("FBplay%1.ply").arg(number)));
    if (!play || play->isEmpty())
        return UnknownPlay;
    for (qsizetype k = 0; k < files.size(); ++k) {
        const auto candidate = fs::readFile(paths.gameFolder() + files.entry(k));
        if (candidate && candidate->startsWith(*play))
            return files.entry(k);
    }
    return UnknownPlay;
}

void leagueCase(const QString& root) {
    LeagueCase league;
    league.root = root;
    league.gameHost = root + QStringLiteral("/wine/drive_c/Sierra/FBPro97");
    league.writeLibrary(5000, 4, 400, 2000, 0.05);
    league.writePlayLog(100'000, 2000);
    MemorySettingsStore store;
    GamePaths paths = pathsFor(store);
    std::printf("League case: 5000 play files, 4 plans of 400 plays (%lld distinct), "
                "2000 captured plays (%d generated unknown)\n",
                static_cast<long long>(league.named.size()), league.unknownPlays);

    FBPlan plan;
    qint64 unknown = 0;
    const double run = bestOf(5, [&] {
        QuietNotifier notifier;
        plan = FBPlan();
        ReadGamePlans(paths, store, plan, notifier);
        plan.gPlayResults = IdentifyPlays(plan, paths, league.capturedPlays);
        unknown = std::count(plan.gPlayResults->begin(), plan.gPlayResults->end(), UnknownPlay);
    });

    const double floor = bestOf(5, [&] {
        qint64 bytes = 0;
        for (const char* name : {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"})
            bytes += fs::readFile(paths.captureFile(QLatin1String(name)))->size();
        for (const QString& entry : league.named)
            bytes += fs::readFile(paths.gameFolder() + entry)->size();
        for (int n = 0; n < league.capturedPlays; ++n)
            bytes += fs::readFile(paths.captureFile(QStringLiteral("FBplay%1.ply").arg(n)))->size();
        if (bytes == 0)
            std::puts("nothing read");
    });

    // Reopening every candidate for every play takes minutes; a sample of plays is timed and
    // scaled to the whole run. The sample's outcomes are checked against the fast run.
    const int sample = 40;
    int mismatches = 0;
    const double sampled = bestOf(1, [&] {
        for (int n = 0; n < sample; ++n)
            mismatches += literalIdentify(paths, *plan.gPlayFiles, n) != plan.gPlayResults->at(n);
    });
    const double baseline = sampled * league.capturedPlays / sample;

    std::printf("  validation run     %9.1f ms  (%lld unknown; %d of %d sampled outcomes differ "
                "from the literal rule)\n",
                run, static_cast<long long>(unknown), mismatches, sample);
    std::printf("  floor (read once)  %9.1f ms  run/floor    = %.2fx\n", floor, run / floor);
    std::printf("  baseline (literal) %9.1f ms  baseline/run = %.0fx  (%d plays timed, scaled)\n",
                baseline, baseline / run, sample);
    std::printf("  peak memory so far %9.1f MB\n", peakMegabytes());

    const double update = bestOf(5, [&] {
        QuietNotifier notifier;
        UpdatePlayLog(paths, plan.gPlayResults, notifier);
    });
    const double copy = bestOf(5, [&] {
        (void)fs::copyFile(paths.gameFile(QStringLiteral("play.log")),
                           paths.gameFile(QStringLiteral("copy.log")));
    });
    std::printf("Play log: 100000 lines, 2000 markers\n");
    std::printf("  Update Log         %9.1f ms\n", update);
    std::printf("  plain copy         %9.1f ms  update/copy  = %.2fx\n", copy, update / copy);
    std::printf("  peak memory so far %9.1f MB\n", peakMegabytes());
}

void emptyMarkerCase(const QString& root) {
    LeagueCase league;
    league.root = root;
    league.gameHost = root + QStringLiteral("/wine/drive_c/Sierra/FBPro97");
    league.writeLibrary(500, 4, 400, 200, 0.05);
    // Stretch the last plan so the plan text, separators dropped, passes 1 MB.
    QByteArray plan;
    for (int i = 0; plan.size() < 1'090'000; ++i)
        plan += QStringLiteral("\"%1\",%2\r\n")
                    .arg(league.named[i % league.named.size()])
                    .arg(i)
                    .toLatin1();
    league.write(QStringLiteral("Xferbox/XDef2.pln"), plan);
    MemorySettingsStore store;
    store.write(keys::FBPlayFolder, QString());
    GamePaths paths = pathsFor(store);

    const double before = peakMegabytes();
    FBPlan fbPlan;
    qint64 unknown = 0;
    const double run = bestOf(1, [&] {
        QuietNotifier notifier;
        ReadGamePlans(paths, store, fbPlan, notifier);
        fbPlan.gPlayResults = IdentifyPlays(fbPlan, paths, league.capturedPlays);
        unknown = std::count(fbPlan.gPlayResults->begin(), fbPlan.gPlayResults->end(), UnknownPlay);
    });
    QByteArray planText;
    for (const char* name : {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"})
        AppendPlanFields(planText, *fs::readFile(paths.captureFile(QLatin1String(name))));
    std::printf("Empty start marker, plan text of %lld bytes: %lld candidate paths\n",
                static_cast<long long>(planText.size()),
                static_cast<long long>(fbPlan.gPlayFiles->size()));
    std::printf("  validation run     %9.1f ms  (200 plays, %lld unknown)\n", run,
                static_cast<long long>(unknown));
    std::printf("  peak memory        %9.1f MB  (%.1f MB before the run)\n", peakMegabytes(),
                before);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    // Drive C: is the scratch folder, on Linux and on Windows alike.
    QDir().mkpath(scratch.path() + QStringLiteral("/wine/drive_c"));
    fs::DriveMap::setOverride(QLatin1Char('c'), scratch.path() + QStringLiteral("/wine/drive_c"));
    if (app.arguments().contains(QStringLiteral("--empty")))
        emptyMarkerCase(scratch.path());
    else
        leagueCase(scratch.path());
    return 0;
}
