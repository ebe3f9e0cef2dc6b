#include "report/validationreport.h"

#include "fs/filesystem.h"
#include "fs/inputfile.h"
#include "report/playlibrary.h"
#include "validate/candidatefiles.h"
#include "validate/codepage.h"
#include "validate/fbplan.h"

#include <QHash>
#include <array>

namespace huddlex {

namespace {

struct Slot {
    const char* name;
    const char* file;
    int readIndex; // place in the plan load's reading order
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
        if (const std::optional<QByteArrayView> fields = input.plans.file(kSlots[s].readIndex)) {
            // The list points into the run's plan text, which outlives it.
            lists[s] = ExtractPlayPaths(QByteArray::fromRawData(fields->data(), fields->size()),
                                        marker, ".ply");
        }
    }
    return lists;
}

// For every distinct identified outcome, the slots whose own plan names the same file: the
// same entry, or an entry that resolves to the same file as the run resolves them.
QHash<QString, QStringList> namingSlots(const ReportInput& input,
                                        const std::array<PlayPathList, kSlotCount>& own,
                                        CandidateFiles& files) {
    QHash<QByteArray, int> byEntry;
    QHash<int, QList<int>> byFile;
    QList<QString> outcomes;
    for (const QString& outcome : input.gPlayResults) {
        if (outcome == UnknownPlay)
            continue;
        const QByteArray bytes = outcome.toLatin1(); // the run keeps plan bytes one per char
        if (byEntry.contains(bytes))
            continue;
        byEntry.insert(bytes, int(outcomes.size()));
        if (const int file = files.resolve(bytes); file >= 0)
            byFile[file].append(int(outcomes.size()));
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
                if (const int file = files.resolve(entry); file >= 0) {
                    for (int index : byFile.value(file))
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
    PlayLibrary library;
    qint64 candidateFiles = 0;
};

SearchSpace searchSpace(const ReportInput& input, CandidateFiles& files,
                        const std::optional<fs::Folder>& captureFolder) {
    SearchSpace space;
    // A file is known by its path from the game folder's parent with names as on disk: the
    // candidate index and the library walk compose it alike.
    QHash<QString, size_t> index;
    if (input.gPlayFiles) {
        input.gPlayFiles->forEach([&](qsizetype, QByteArrayView entry) {
            const int file = files.resolve(entry);
            if (file < 0)
                return true;
            const fs::Folder& folder = files.folderOf(file);
            const QString path = folder.childPath(files.nameOf(file));
            if (!index.contains(path)) {
                index.insert(path, space.files.size());
                space.files.push_back({folder, files.nameOf(file), -1});
                space.shown << fromWindows1252(entry);
            }
            return true;
        });
    }
    space.candidateFiles = qint64(space.files.size());
    space.library = input.library ? *input.library : ScanLibrary(files, input.paths, captureFolder);
    for (qsizetype rank = 0; rank < space.library.files.size(); ++rank) {
        const LibraryFile& file = space.library.files[rank];
        const QString path = file.folder.childPath(file.name);
        if (auto known = index.constFind(path); known != index.constEnd()) {
            space.files[*known].libraryRank = rank;
        } else {
            space.files.push_back({file.folder, file.name, rank});
            space.shown << file.path;
        }
    }
    return space;
}

constexpr qint64 kFirstReadBytes = 8 * 1024;

// Whether capture `number` is not the file the run identified: another size or time, or a file
// where the run found none, or none where it read one. A run that kept no stamps compares
// nothing.
bool changedSince(const ReportInput& input, qint64 number, const fs::Result<fs::FileStamp>& now) {
    if (input.captureStamps.isEmpty())
        return false;
    const auto then = input.captureStamps.constFind(number);
    if (then == input.captureStamps.constEnd())
        return now.ok();
    return !now || *now != *then;
}

// The candidate files the run read that are no longer as it read them, each looked at through
// the folder that holds it.
QStringList changedCandidates(const ReportInput& input) {
    QStringList changed;
    for (const CandidateStamp& file : input.candidateStamps) {
        const fs::Result<fs::FileStamp> now = file.folder.stamp(file.name);
        if (!now || *now != file.stamp)
            changed << file.folder.childPath(file.name);
    }
    changed.sort();
    return changed;
}

// The capture folder as it is now, listed once. Not the run's own listing: the window builds
// its report later, when a name that listing showed as a file may stand for a FIFO.
class Captures {
public:
    explicit Captures(const ReportInput& input) : input_(input) {
        fs::Result<fs::Folder> folder = input.captureFolder
                                            ? input.captureFolder->reopened()
                                            : fs::Folder::open(input.paths.captureFolder());
        if (folder)
            folder_ = std::move(folder).value();
    }
    const std::optional<fs::Folder>& folder() const { return folder_; }

    // A captured play by its on-disk name in the run's listing.
    fs::Result<fs::InputFile> open(const QString& name) const {
        return folder_ ? folder_->openFile(name) : fs::openFile(input_.paths.captureFile(name));
    }
    // Its size and time from one stat.
    fs::Result<fs::FileStamp> stamp(const QString& name) const {
        if (folder_)
            return folder_->stamp(name);
        fs::Result<fs::InputFile> play = open(name);
        return play ? fs::Result<fs::FileStamp>(fs::stampOf(play.value())) : play.error();
    }

private:
    const ReportInput& input_;
    std::optional<fs::Folder> folder_;
};

// The rest of a play the edit search compares whole, read once; false when it cannot be.
bool holdWhole(PlaySearch& play, qint64& bytesRead) {
    const qint64 rest = play.size - play.held.size();
    if (rest == 0)
        return true;
    fs::Result<fs::InputFile> opened = play.open();
    if (!opened || !opened.value().seek(play.held.size()))
        return false;
    const fs::Result<QByteArray> read = opened.value().read(rest);
    if (!read || read->size() != rest)
        return false;
    play.held += *read;
    bytesRead += rest;
    return true;
}

// The plays no file came near position by position, looked for again by edit distance.
void traceEdits(ValidationReport& report, std::vector<PlaySearch>& searches,
                const std::vector<qsizetype>& searched, const SearchSpace& space) {
    std::vector<EditSearch> edits;
    std::vector<size_t> of; // index into searches of each edit search
    for (size_t i = 0; i < searches.size(); ++i) {
        PlayEntry& entry = report.plays[searched[i]];
        PlaySearch& search = searches[i];
        if (entry.verdict != Verdict::Unknown || search.size > EditSearch::kMaxPlayBytes)
            continue;
        if (!holdWhole(search, report.counts.search.playBytesRead)) {
            entry.verdict = Verdict::Missing;
            entry.bytes.reset();
            continue;
        }
        edits.push_back({search.held, -1, 0, {}, {}});
        of.push_back(i);
    }
    if (edits.empty())
        return;
    report.counts.edits = SearchEdits(edits, space.files);
    for (size_t e = 0; e < edits.size(); ++e) {
        EditSearch& found = edits[e];
        if (found.nearest < 0)
            continue;
        PlayEntry& entry = report.plays[searched[of[e]]];
        entry.verdict = Verdict::Modified;
        entry.nearest = space.shown[found.nearest];
        entry.nearestBytes = found.nearestContent.size();
        entry.editDistance = found.distance;
        entry.edits = std::move(found.edits);
        entry.content = std::move(found.play);
        entry.nearestContent = std::move(found.nearestContent);
    }
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
    case Verdict::Unchecked:
        return QStringLiteral("unchecked");
    case Verdict::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

ValidationReport BuildReport(const ReportInput& input) {
    ValidationReport report;
    report.gameFolder = input.gameFolder;
    // Names only: a file is opened when the search comes to it, and read as far as it needs.
    CandidateFiles files =
        input.entryRoot ? CandidateFiles(*input.entryRoot, CandidateFiles::kNamesOnly)
                        : CandidateFiles(input.paths.gameFolder(), CandidateFiles::kNamesOnly);
    const std::array<PlayPathList, kSlotCount> own = ownEntries(input);
    for (size_t s = 0; s < kSlotCount; ++s) {
        report.plans.append({QLatin1String(kSlots[s].name), QLatin1String(kSlots[s].file),
                             input.plans.file(kSlots[s].readIndex).has_value(), own[s].size()});
    }
    const QHash<QString, QStringList> naming = namingSlots(input, own, files);

    for (const CandidateFiles::Unreadable& file : input.unreadable)
        report.unreadable << file.path;
    report.changedSinceRun = changedCandidates(input);

    const Captures captures(input);
    std::vector<PlaySearch> searches;
    std::vector<qsizetype> searched; // index into report.plays of each search
    qint64 firstBytes = 0;
    for (qsizetype number = 0; number < input.gPlayResults.size(); ++number) {
        PlayEntry entry;
        entry.capture = number;
        const std::optional<QString> name = input.captures.name(number);
        entry.file = name.value_or(CapturedPlays::canonicalName(number));
        const QString& outcome = input.gPlayResults[number];
        entry.outcome = outcome == UnknownPlay ? outcome : fromWindows1252(outcome.toLatin1());
        // A gap then is looked for too: a play there now was not part of the run.
        const fs::Result<fs::FileStamp> stamp = captures.stamp(entry.file);
        entry.changedSinceRun = changedSince(input, number, stamp);
        if (entry.changedSinceRun)
            report.changedSinceRun
                << (captures.folder() ? captures.folder()->childPath(entry.file) : entry.file);
        if (outcome != UnknownPlay) {
            entry.verdict = Verdict::Identified;
            entry.namedBy = naming.value(outcome);
            if (stamp)
                entry.bytes = stamp->size;
            report.plays.append(std::move(entry));
            continue;
        }
        ++report.unknown;
        fs::Result<fs::InputFile> play = name ? captures.open(*name) : fs::Error{};
        // A play of ordinary length is read whole here; of a longer one, the first bytes tell
        // that it can be read, and the rest waits until a file could match it or come near it.
        const fs::Result<QByteArray> first =
            play ? play.value().read(kFirstReadBytes) : fs::Result<QByteArray>(play.error());
        if (!first || first->size() != std::min(play->size(), kFirstReadBytes)) {
            entry.verdict = Verdict::Missing;
        } else {
            ++report.counts.capturesRead;
            firstBytes += first->size();
            entry.bytes = play->size();
            if (play->size() == 0) {
                entry.verdict = Verdict::Empty;
            } else {
                PlaySearch search;
                search.open = [&captures, name = *name] { return captures.open(name); };
                search.size = play->size();
                search.held = *first;
                searches.push_back(std::move(search));
                searched.push_back(report.plays.size());
            }
        }
        report.plays.append(std::move(entry));
    }
    if (searches.empty())
        return report;

    const SearchSpace space = searchSpace(input, files, captures.folder());
    report.counts.libraryFiles = space.library.files.size();
    report.counts.unlistedFolders = space.library.unlistedFolders;
    report.counts.candidateFiles = space.candidateFiles;
    report.counts.search = SearchPlays(searches, space.files);
    report.counts.search.playBytesRead += firstBytes;
    for (size_t i = 0; i < searches.size(); ++i) {
        PlaySearch& search = searches[i];
        PlayEntry& entry = report.plays[searched[i]];
        if (search.unreadable) {
            entry.verdict = Verdict::Missing;
            entry.bytes.reset();
        } else if (!report.unreadable.isEmpty()) {
            // What could be read says nothing about the play it may have been.
            entry.verdict = Verdict::Unchecked;
            entry.match = report.unreadable.first();
        } else if (search.matchRank >= 0) {
            entry.verdict = Verdict::NotInPlans;
            entry.match = space.library.files[search.matchRank].path;
        } else if (search.nearest >= 0) {
            entry.verdict = Verdict::Modified;
            entry.nearest = space.shown[search.nearest];
            entry.differingBytes = search.distance;
            entry.nearestBytes = search.nearestSize;
            entry.ranges = std::move(search.ranges);
            entry.content = std::move(search.held);
            entry.nearestContent = std::move(search.nearestPrefix);
        } else {
            entry.verdict = Verdict::Unknown;
        }
    }
    traceEdits(report, searches, searched, space);
    return report;
}

} // namespace huddlex
