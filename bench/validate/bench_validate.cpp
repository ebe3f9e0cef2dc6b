// Validation and play log speed against a floor and a baseline measured in the same run.
//   bench_validate            the league case and the play log
//   bench_validate --empty    the empty start marker on a 1 MB plan text
//   bench_validate --hostile  hostile game folders against their ordinary twins, each case in
//                             a process of its own so that its peak memory is its own
//   bench_validate --case NAME   one of those cases (what --hostile runs)
// Peak memory (maximum resident set) is printed after each part.

#include "benchtools.h"
#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "hostilecases.h"
#include "leaguecase.h"
#include "playlog/playlog.h"
#include "processstats.h"
#include "settings/settingsstore.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace huddlex;

namespace {

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
    auto validation = [&] {
        QuietNotifier notifier;
        plan = FBPlan();
        ReadGamePlans(paths, store, plan, notifier);
        plan.gPlayResults = IdentifyPlays(plan, paths, CapturedPlays::list(paths)).outcomes;
        unknown = std::count(plan.gPlayResults->begin(), plan.gPlayResults->end(), UnknownPlay);
    };
    // Every file read once through the fs layer.
    auto readOnce = [&] {
        qint64 bytes = 0;
        for (const char* name : {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"})
            bytes += fs::readFile(paths.captureFile(QLatin1String(name)))->size();
        for (const QString& entry : league.named)
            bytes += fs::readFile(paths.gameFolder() + entry)->size();
        for (int n = 0; n < league.capturedPlays; ++n)
            bytes += fs::readFile(paths.captureFile(QStringLiteral("FBplay%1.ply").arg(n)))->size();
        if (bytes == 0)
            std::puts("nothing read");
    };
    // The bare minimum: every byte read once by host path, nothing resolved or compared.
    auto bareReads = [&] {
        qint64 bytes = 0;
        QStringList hosts;
        for (const char* name : {"XOff1.pln", "XDef1.pln", "XOff2.pln", "XDef2.pln"})
            hosts << league.gameHost + QStringLiteral("/Xferbox/") + QLatin1String(name);
        for (const QString& entry : league.named)
            hosts << league.gameHost + QLatin1Char('/') + QString(entry).replace('\\', '/');
        for (int n = 0; n < league.capturedPlays; ++n)
            hosts << league.gameHost + QStringLiteral("/Xferbox/FBplay%1.ply").arg(n);
        for (const QString& host : hosts) {
            QFile file(host);
            if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                bytes += file.read(file.size()).size();
        }
        if (bytes == 0)
            std::puts("nothing read");
    };
    const std::vector<double> best = bestInterleaved(9, {validation, readOnce, bareReads});
    const double run = best[0], floor = best[1], rawFloor = best[2];

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
    std::printf("  bare reads by host %9.1f ms  run/bare     = %.2fx\n", rawFloor, run / rawFloor);
    std::printf("  baseline (literal) %9.1f ms  baseline/run = %.0fx  (%d plays timed, scaled)\n",
                baseline, baseline / run, sample);
    std::printf("  peak memory so far %9.1f MB\n", peakMegabytes());

    const std::vector<double> log =
        bestInterleaved(9, {[&] {
                                QuietNotifier notifier;
                                UpdatePlayLog(paths, plan.gPlayResults, notifier);
                            },
                            [&] {
                                (void)fs::copyFile(paths.gameFile(QStringLiteral("play.log")),
                                                   paths.gameFile(QStringLiteral("copy.log")));
                            }});
    const double update = log[0], copy = log[1];
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
        fbPlan.gPlayResults = IdentifyPlays(fbPlan, paths, CapturedPlays::list(paths)).outcomes;
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

// One hostile case or twin: its validation run, best of three, then this process's peak.
void oneCase(const QString& root, const QString& name) {
    const QString game = root + QStringLiteral("/wine/drive_c/Sierra/FBPro97");
    hostile::write(name, game);
    MemorySettingsStore store;
    GamePaths paths = pathsFor(store);
    qint64 plays = 0, unknown = 0;
    const double run = bestOf(3, [&] {
        QuietNotifier notifier;
        FBPlan plan;
        ReadGamePlans(paths, store, plan, notifier);
        const CapturedPlays captured = CapturedPlays::list(paths);
        plan.gPlayResults = IdentifyPlays(plan, paths, captured).outcomes;
        plays = plan.gPlayResults->size();
        unknown = std::count(plan.gPlayResults->begin(), plan.gPlayResults->end(), UnknownPlay);
    });
    std::printf("RESULT %.3f %.1f %lld %lld\n", run, peakMegabytes(), static_cast<long long>(plays),
                static_cast<long long>(unknown));
}

struct Measured {
    double ms = 0, megabytes = 0;
    QString outcome;
};

Measured measure(const QString& name) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--case"), name});
    child.waitForFinished(-1);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || fields.size() != 5 || fields[0] != "RESULT")
        qFatal("case %s failed: %s", qPrintable(name), child.readAllStandardError().constData());
    return {fields[1].toDouble(), fields[2].toDouble(),
            QStringLiteral("%1 plays, %2 unknown").arg(QString(fields[3]), QString(fields[4]))};
}

void hostileCases() {
    std::printf("Hostile game folders against their ordinary twins (validation run, best of 3; "
                "peak memory of the whole process)\n");
    QHash<QString, Measured> twins;
    for (const hostile::Case& c : hostile::cases()) {
        if (!twins.contains(c.twin))
            twins.insert(c.twin, measure(c.twin));
        const Measured twin = twins.value(c.twin);
        const Measured bad = measure(c.name);
        std::printf("  %-12s %-52s %8.1f ms %7.1f MB   (%s)\n", qPrintable(c.name),
                    qPrintable(c.about), bad.ms, bad.megabytes, qPrintable(bad.outcome));
        std::printf("  %-12s %-52s %8.1f ms %7.1f MB   (%s)\n", qPrintable(c.twin), "  its twin",
                    twin.ms, twin.megabytes, qPrintable(twin.outcome));
        std::printf("  %-12s %-52s %8.2fx   %7.2fx\n", "", "  hostile/twin", bad.ms / twin.ms,
                    bad.megabytes / twin.megabytes);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    // Drive C: is the scratch folder, on Linux and on Windows alike.
    QDir().mkpath(scratch.path() + QStringLiteral("/wine/drive_c"));
    fs::DriveMap::setOverride(QLatin1Char('c'), scratch.path() + QStringLiteral("/wine/drive_c"));
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--empty")))
        emptyMarkerCase(scratch.path());
    else if (arguments.contains(QStringLiteral("--hostile")))
        hostileCases();
    else if (const qsizetype at = arguments.indexOf(QStringLiteral("--case"));
             at > 0 && at + 1 < arguments.size())
        oneCase(scratch.path(), arguments[at + 1]);
    else
        leagueCase(scratch.path());
    return 0;
}
