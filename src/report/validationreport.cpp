#include "report/validationreport.h"

#include "fs/filesystem.h"
#include "fs/filetree.h"
#include "report/playlibrary.h"
#include "validate/fbplan.h"

#include <QHash>
#include <array>

namespace huddlex {

namespace {

struct Slot {
    const char* name;
    const char* file;
    size_t readIndex; // place in the plan load's reading order
};
constexpr Slot kSlots[] = {{"Off1", "XOff1.pln", 0},
                           {"Off2", "XOff2.pln", 2},
                           {"Def1", "XDef1.pln", 1},
                           {"Def2", "XDef2.pln", 3}};
constexpr size_t kSlotCount = std::size(kSlots);

// Each plan's own paths: its fields read on their own, not the growing text of the load.
std::array<PlayPathList, kSlotCount> ownEntries(const ReportInput& input) {
    const QByteArray marker = input.paths.gFBPlayFolder.toLatin1();
    std::array<PlayPathList, kSlotCount> lists;
    for (size_t s = 0; s < kSlotCount; ++s) {
        if (const auto& bytes = input.plans[kSlots[s].readIndex]) {
            QByteArray text;
            AppendPlanFields(text, *bytes);
            lists[s] = ExtractPlayPaths(text, marker, ".ply");
        }
    }
    return lists;
}

// For every distinct identified outcome, the slots whose own plan names the same file: the
// same entry, or an entry that resolves to the same file ignoring letter case.
QHash<QString, QStringList> namingSlots(const ReportInput& input,
                                        const std::array<PlayPathList, kSlotCount>& own,
                                        EntryResolver& resolver) {
    QHash<QByteArray, int> byEntry;
    QHash<QString, QList<int>> byFile;
    QList<QString> outcomes;
    for (const QString& outcome : input.gPlayResults) {
        if (outcome == UnknownPlay)
            continue;
        const QByteArray bytes = outcome.toLatin1(); // the run keeps plan bytes one per char
        if (byEntry.contains(bytes))
            continue;
        byEntry.insert(bytes, int(outcomes.size()));
        if (const auto file = resolver.resolve(bytes))
            byFile[file->hostPath].append(int(outcomes.size()));
        outcomes.append(outcome);
    }
    std::vector<std::array<bool, kSlotCount>> named(outcomes.size(), {false, false, false, false});
    if (!outcomes.isEmpty()) {
        for (size_t s = 0; s < kSlotCount; ++s) {
            own[s].forEach([&](qsizetype, QByteArrayView entry) {
                const auto same =
                    byEntry.constFind(QByteArray::fromRawData(entry.data(), entry.size()));
                if (same != byEntry.constEnd())
                    named[size_t(*same)][s] = true;
                if (const auto file = resolver.resolve(entry)) {
                    for (int index : byFile.value(file->hostPath))
                        named[size_t(index)][s] = true;
                }
                return true;
            });
        }
    }
    QHash<QString, QStringList> naming;
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        QStringList names;
        for (size_t s = 0; s < kSlotCount; ++s) {
            if (named[size_t(i)][s])
                names << QLatin1String(kSlots[s].name);
        }
        naming.insert(outcomes[i], names);
    }
    return naming;
}

// The files a modified play may come from, in nearest order: the files the candidates name,
// in gPlayFiles order, then the library files none of them names. `shown` says how each is
// written in the report.
struct SearchSpace {
    std::vector<SearchFile> files;
    QStringList shown;
    QList<LibraryFile> library;
    qint64 candidateFiles = 0;
};

SearchSpace searchSpace(const ReportInput& input, EntryResolver& resolver) {
    SearchSpace space;
    QHash<QString, size_t> index;
    if (input.gPlayFiles) {
        input.gPlayFiles->forEach([&](qsizetype, QByteArrayView entry) {
            const auto file = resolver.resolve(entry);
            if (file && !index.contains(file->hostPath)) {
                index.insert(file->hostPath, space.files.size());
                space.files.push_back({*file, -1});
                space.shown << FromWindows1252(entry);
            }
            return true;
        });
    }
    space.candidateFiles = qint64(space.files.size());
    space.library = ScanLibrary(input.paths);
    for (qsizetype rank = 0; rank < space.library.size(); ++rank) {
        const LibraryFile& file = space.library[rank];
        if (auto known = index.constFind(file.file.hostPath); known != index.constEnd()) {
            space.files[*known].libraryRank = rank;
        } else {
            space.files.push_back({file.file, rank});
            space.shown << file.path;
        }
    }
    return space;
}

// Sizes of the captured plays by on-disk name, from one listing of the capture folder.
QHash<QString, qint64> captureSizes(const GamePaths& paths) {
    QHash<QString, qint64> sizes;
    for (const fs::TreeFile& file : fs::listTree(paths.gameFolder(), QStringLiteral("Xferbox"),
                                                 QStringLiteral(".ply"), {}, false))
        sizes.insert(file.relativePath.mid(file.relativePath.lastIndexOf(QLatin1Char('\\')) + 1),
                     file.file.size);
    return sizes;
}

} // namespace

QString VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::Identified:
        return QStringLiteral("identified");
    case Verdict::Missing:
        return QStringLiteral("missing");
    case Verdict::Empty:
        return QStringLiteral("empty");
    case Verdict::NotInPlans:
        return QStringLiteral("not-in-plans");
    case Verdict::Modified:
        return QStringLiteral("modified");
    case Verdict::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

ValidationReport BuildReport(const ReportInput& input, EntryResolver& resolver) {
    ValidationReport report;
    report.gameFolder = input.gameFolder;
    const std::array<PlayPathList, kSlotCount> own = ownEntries(input);
    for (size_t s = 0; s < kSlotCount; ++s) {
        report.plans.append({QLatin1String(kSlots[s].name), QLatin1String(kSlots[s].file),
                             input.plans[kSlots[s].readIndex].has_value(), own[s].size()});
    }
    const QHash<QString, QStringList> naming = namingSlots(input, own, resolver);

    std::optional<QHash<QString, qint64>> sizes; // listed when first needed
    std::vector<PlaySearch> searches;
    std::vector<qsizetype> searched; // index into report.plays of each search
    for (qsizetype number = 0; number < input.gPlayResults.size(); ++number) {
        PlayEntry entry;
        entry.capture = number;
        const std::optional<QString> name = input.captures.name(number);
        entry.file = name.value_or(CapturedPlays::canonicalName(number));
        const QString& outcome = input.gPlayResults[number];
        entry.outcome = outcome == UnknownPlay ? outcome : FromWindows1252(outcome.toLatin1());
        if (outcome != UnknownPlay) {
            entry.verdict = Verdict::Identified;
            entry.namedBy = naming.value(outcome);
            if (name) {
                if (!sizes)
                    sizes = captureSizes(input.paths);
                if (auto size = sizes->constFind(*name); size != sizes->constEnd())
                    entry.bytes = *size;
            }
        } else {
            ++report.unknown;
            fs::Result<QByteArray> play = name ? fs::readFile(input.paths.captureFile(*name))
                                               : fs::Result<QByteArray>(fs::Error{});
            if (!play) {
                entry.verdict = Verdict::Missing;
            } else {
                ++report.counts.capturesRead;
                entry.bytes = play->size();
                if (play->isEmpty()) {
                    entry.verdict = Verdict::Empty;
                } else {
                    PlaySearch search;
                    search.play = *play;
                    searches.push_back(std::move(search));
                    searched.push_back(report.plays.size());
                }
            }
        }
        report.plays.append(std::move(entry));
    }
    if (searches.empty())
        return report;

    const SearchSpace space = searchSpace(input, resolver);
    report.counts.libraryFiles = space.library.size();
    report.counts.candidateFiles = space.candidateFiles;
    report.counts.search = SearchPlays(searches, space.files);
    for (size_t i = 0; i < searches.size(); ++i) {
        PlaySearch& search = searches[i];
        PlayEntry& entry = report.plays[searched[i]];
        if (search.matchRank >= 0) {
            entry.verdict = Verdict::NotInPlans;
            entry.match = space.library[search.matchRank].path;
        } else if (search.nearest >= 0) {
            entry.verdict = Verdict::Modified;
            entry.nearest = space.shown[search.nearest];
            entry.differingBytes = search.distance;
            entry.nearestBytes = search.nearestSize;
            entry.ranges = DifferingRanges(search.play, search.nearestPrefix, search.nearestSize);
            entry.content = std::move(search.play);
            entry.nearestContent = std::move(search.nearestPrefix);
        } else {
            entry.verdict = Verdict::Unknown;
        }
    }
    return report;
}

ValidationReport BuildReport(const ReportInput& input) {
    FsEntryResolver resolver(input.paths.gameFolder());
    return BuildReport(input, resolver);
}

} // namespace huddlex
