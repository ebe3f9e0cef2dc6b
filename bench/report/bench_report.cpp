// The validation report's speed against its floor, measured in the same run.
//   bench_report               makes the case in a scratch folder, then measures it in a
//                              child process, whose peak memory is then the report's own
//   bench_report --write DIR   makes the case in DIR and lists the made plays in DIR/made.tsv
//   bench_report --measure DIR measures a case made before
//   bench_report --sparse DIR  makes and measures the sparse case (what bench_report runs next)
// The floor is what any report must do at least: list the library and read every library
// file and every captured play once.

#include "benchtools.h"
#include "fs/folder.h"
#include "fs/foldertree.h"
#include "report/validationreport.h"
#include "reportcase.h"
#include "settings/settingsstore.h"
#include "validate/validationrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace huddlex;

namespace {

// Reads a whole file, for the floor.
qint64 readWhole(const fs::Folder& folder, const QString& name) {
    fs::Result<fs::InputFile> file = folder.openFile(name);
    if (!file)
        qFatal("cannot open %s", qPrintable(folder.childPath(name)));
    return file.value().read(file->size())->size();
}

// The floor: list the library, read every library file and every captured play once.
void readEverythingOnce(const GamePaths& paths, qint64& files, qint64& bytes) {
    files = bytes = 0;
    if (const fs::Result<fs::Folder> library = fs::Folder::open(paths.mainPlayFolder())) {
        for (const fs::TreeFile& file : fs::listTree(*library, QStringLiteral(".ply")).files) {
            bytes += readWhole(file.folder, file.name);
            ++files;
        }
    }
    const CapturedPlays listed = CapturedPlays::list(paths);
    for (qint64 n = 0; n < listed.count(); ++n) {
        if (const auto name = listed.name(n))
            bytes += readWhole(*listed.folder(), *name);
    }
}

void writeCase(const QString& dir) {
    ReportCase reportCase;
    reportCase.write(dir);
    QFile list(dir + QStringLiteral("/made.tsv"));
    if (!list.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(list.fileName()));
    for (const ReportCase::Made& play : reportCase.made)
        list.write(QStringLiteral("FBplay%1.ply\t%2\t%3\n")
                       .arg(play.capture)
                       .arg(play.kind, play.origin)
                       .toUtf8());
}

QList<ReportCase::Made> readMade(const QString& dir) {
    QFile list(dir + QStringLiteral("/made.tsv"));
    if (!list.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(list.fileName()));
    QList<ReportCase::Made> made;
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3)
            made.append({fields[0].mid(6).chopped(4).toInt(), QString::fromUtf8(fields[1]),
                         QString::fromUtf8(fields[2])});
    }
    return made;
}

void measure(const QString& dir) {
    qputenv("WINEPREFIX", QFile::encodeName(dir + QStringLiteral("/wine")));
    MemorySettingsStore store;
    GamePaths paths;
    FBPlan plan;
    PlanFields planFiles;
    QuietNotifier notifier;
    CapturedPlays captures;
    Identification identified;
    const double validation = bestOf(1, [&] {
        ReadGamePlans(paths, store, plan, notifier, &planFiles);
        captures = CapturedPlays::list(paths);
        identified = IdentifyPlays(plan, paths, captures);
    });
    const QStringList outcomes = identified.outcomes;
    const ReportInput input =
        RunInput(paths.gameFolder(), paths, planFiles, plan.gPlayFiles, captures, identified);
    const double before = peakMegabytes();

    // The report and its floor take turns, so a busy machine slows both alike; the best of
    // each counts.
    ValidationReport report;
    double first = 0, best = 1e300, floor = 1e300, after = 0;
    qint64 floorFiles = 0, floorBytes = 0;
    for (int round = 0; round < 7; ++round) {
        const double took = bestOf(1, [&] { report = BuildReport(input); });
        if (round == 0) {
            first = took;
            after = peakMegabytes();
        }
        best = std::min(best, took);
        floor =
            std::min(floor, bestOf(1, [&] { readEverythingOnce(paths, floorFiles, floorBytes); }));
    }

    QMap<QString, qint64> verdicts;
    for (const PlayEntry& play : report.plays)
        ++verdicts[VerdictName(play.verdict)];
    QStringList tally;
    for (auto it = verdicts.cbegin(); it != verdicts.cend(); ++it)
        tally << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    const ReportCounts& counts = report.counts;
    std::printf(
        "Report case: %lld library files (%lld named by the plans), %lld captured plays, "
        "%lld of them unknown\n",
        static_cast<long long>(counts.libraryFiles), static_cast<long long>(counts.candidateFiles),
        static_cast<long long>(report.plays.size()), static_cast<long long>(report.unknown));
    std::printf("  verdicts: %s\n", qPrintable(tally.join(QStringLiteral(", "))));
    std::printf("  validation run     %9.1f ms  (for scale; not part of the report)\n", validation);
    std::printf("  report             %9.1f ms  (first run %.1f ms)\n", best, first);
    std::printf("  floor (read once)  %9.1f ms  report/floor = %.2fx  (%lld library files and "
                "the captures, %.1f MB)\n",
                floor, best / floor, static_cast<long long>(floorFiles), floorBytes / 1e6);
    std::printf("  the report read    %lld library files (%.1f MB), skipped %lld unread, "
                "%lld captured plays\n",
                static_cast<long long>(counts.search.filesRead), counts.search.bytesRead / 1e6,
                static_cast<long long>(counts.search.filesSkipped),
                static_cast<long long>(counts.capturesRead));
    std::printf(
        "  the edit search    %lld plays no file came near position by position: %lld "
        "play-file pairs near in length, %lld past the lower bounds, %lld aligned whole; "
        "%lld library files read again (%.1f MB)\n",
        static_cast<long long>(counts.edits.plays), static_cast<long long>(counts.edits.pairs),
        static_cast<long long>(counts.edits.anchored), static_cast<long long>(counts.edits.aligned),
        static_cast<long long>(counts.edits.filesRead), counts.edits.bytesRead / 1e6);
    std::printf("  peak memory        %9.1f MB  (%.1f MB before the report)\n", after, before);

    // Did the report trace the made plays to the play they were made from?
    QMap<QString, QPair<int, int>> traced; // kind -> traced, made
    for (const ReportCase::Made& play : readMade(dir)) {
        const PlayEntry& entry = report.plays.at(play.capture);
        const QString found = entry.verdict == Verdict::Modified     ? entry.nearest
                              : entry.verdict == Verdict::NotInPlans ? entry.match
                                                                     : entry.outcome;
        QPair<int, int>& count = traced[play.kind];
        count.first += !play.origin.isEmpty() && found == play.origin;
        ++count.second;
    }
    std::printf("  traced to their origin:");
    for (auto it = traced.cbegin(); it != traced.cend(); ++it)
        std::printf(" %s %d/%d;", qPrintable(it.key()), it.value().first, it.value().second);
    std::printf("\n");
}

void writeFile(const QString& host, const QByteArray& data, qint64 size = -1, qint64 dataAt = 0) {
    QDir().mkpath(QFileInfo(host).path());
    QFile file(host);
    if (!file.open(QIODevice::WriteOnly) || (size >= 0 && !file.resize(size)) ||
        !file.seek(dataAt) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(host));
}

// A 40 GB sparse captured play beside a 40 GB sparse library file that it differs from in four
// bytes 20 GB in, among ordinary plays: the report must cost what it compares, not the sizes.
void measureSparse(const QString& dir) {
    qputenv("WINEPREFIX", QFile::encodeName(dir + QStringLiteral("/wine")));
    const QString game = dir + QStringLiteral("/wine/drive_c/Sierra/FBPro97");
    constexpr qint64 big = qint64(40) << 30;
    QRandomGenerator random(40);
    auto randomPlay = [&] {
        QByteArray bytes(2000, Qt::Uninitialized);
        for (char& c : bytes)
            c = char(random.bounded(256));
        return bytes;
    };
    for (const char* plan : {"XOff1", "XDef1", "XOff2", "XDef2"})
        writeFile(game + QStringLiteral("/Xferbox/%1.pln").arg(QLatin1String(plan)), {});
    for (int i = 0; i < 200; ++i)
        writeFile(game + QStringLiteral("/VPNFL/Plays/P%1.ply").arg(i), randomPlay());
    writeFile(game + QStringLiteral("/VPNFL/Huge/Zeros.ply"), {}, big);
    writeFile(game + QStringLiteral("/Xferbox/FBplay0.ply"), "DATA", big, big / 2);
    writeFile(game + QStringLiteral("/Xferbox/FBplay1.ply"), randomPlay());

    MemorySettingsStore store;
    GamePaths paths;
    FBPlan plan;
    PlanFields planFields;
    QuietNotifier notifier;
    ReadGamePlans(paths, store, plan, notifier, &planFields);
    const CapturedPlays captures = CapturedPlays::list(paths);
    const ReportInput input = RunInput(paths.gameFolder(), paths, planFields, plan.gPlayFiles,
                                       captures, IdentifyPlays(plan, paths, captures));
    const double before = peakMegabytes();
    ValidationReport report;
    const double took = bestOf(3, [&] { report = BuildReport(input); });
    const PlayEntry& play = report.plays.at(0);
    std::printf("Sparse case: a 40 GB captured play and a 40 GB library file (truncate), four "
                "bytes apart 20 GB in, and 200 ordinary plays\n");
    std::printf(
        "  report             %9.1f ms  verdict %s, %lld bytes differ at %s\n", took,
        qPrintable(VerdictName(play.verdict)), static_cast<long long>(play.differingBytes),
        qPrintable(play.ranges.isEmpty() ? QString() : QString::number(play.ranges.first().first)));
    std::printf("  read               %.1f KB of captured plays, %.1f KB of library files\n",
                report.counts.search.playBytesRead / 1e3, report.counts.search.bytesRead / 1e3);
    std::printf("  peak memory        %9.1f MB  (%.1f MB before the report)\n", peakMegabytes(),
                before);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--write")) {
        writeCase(args[2]);
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--measure")) {
        measure(args[2]);
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--sparse")) {
        measureSparse(args[2]);
        return 0;
    }
    QTemporaryDir scratch, sparse;
    writeCase(scratch.path());
    if (const int failed = runChild({QStringLiteral("--measure"), scratch.path()}))
        return failed;
    return runChild({QStringLiteral("--sparse"), sparse.path()});
}
