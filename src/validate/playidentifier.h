#pragma once

#include "fs/filesystem.h"
#include "fs/inputfile.h"
#include "fs/pairedreader.h"
#include "settings/gamepaths.h"
#include "validate/candidatefiles.h"
#include "validate/playpathlist.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace huddlex {

struct CandidateStamp;

// Names captured plays for one validation run. A captured play of n bytes matches a candidate
// whose first n bytes are those n bytes; the first match in gPlayFiles order wins.
//
// Instead of reopening every candidate for every play, the first use reads the size and the
// first kPrefixBytes of each distinct candidate file once and sorts those prefixes: the
// candidates that begin with a given play then form one run of that order, and the earliest
// of them in gPlayFiles is found with a range-minimum table. A play longer than the prefixes
// narrows the search to the run that shares its first kPrefixBytes; only those candidates
// long enough are read further, a chunk at a time, in gPlayFiles order. A play longer than
// every candidate matches none and is not read at all. Memory thus stays within the prefixes
// plus two chunks, whatever the files' sizes. Nothing is ever written.
class PlayIdentifier {
public:
    static constexpr qint64 kPrefixBytes = 64 * 1024;

    // Entries name files below the game folder of `paths`. Keeps a reference to `playFiles`,
    // which must outlive the identifier and stay unchanged while it is used.
    PlayIdentifier(const GamePaths& paths, const std::optional<PlayPathList>& playFiles);
    // Entries name files below `root` (a league's pool, a game folder already resolved).
    PlayIdentifier(fs::Folder root, const std::optional<PlayPathList>& playFiles);
    // Entries name files as `files` finds them (made with kPrefixBytes), shared by the runs of
    // many games against one pool, so that each file is found and read once for all of them.
    PlayIdentifier(std::shared_ptr<CandidateFiles> files,
                   const std::optional<PlayPathList>& playFiles);

    // The outcome for "Xferbox\FBplay<captureNumber>.ply" of the game folder of `paths`: the
    // matching entry of gPlayFiles or UnknownPlay. A play that is missing, unreadable or empty
    // is unknown.
    QString IdentifyPlay(qint64 captureNumber);

    // The same for the captured play at `windowsPath`.
    QString identifyFile(const QString& windowsPath);

    // The same for a captured play already open.
    QString identify(fs::InputFile& play);

    // Candidate files that are there but could not be read: they matched nothing, so a play
    // they might have named was counted unknown.
    QList<CandidateFiles::Unreadable> unreadableCandidates() const;
    // The candidate files read, by Windows path, as they were when read.
    QList<CandidateStamp> candidateStamps() const;

    // Distinct candidate files found so far (for the benchmark and tests).
    int candidateFilesRead() const { return files_ ? files_->fileCount() : 0; }

private:
    void buildIndex();
    std::pair<size_t, size_t> runStartingWith(QByteArrayView head) const;
    qsizetype earliestIn(size_t from, size_t count) const;
    qsizetype earliestLongMatch(fs::InputFile& play, size_t from, size_t count);

    QString gameFolder_;             // where entries start, when no root was given
    std::optional<fs::Folder> root_; // or the folder itself
    QString captureFolder_;          // for IdentifyPlay
    const std::optional<PlayPathList>& playFiles_;
    std::shared_ptr<CandidateFiles> files_;
    qint64 longest_ = 0; // size of the longest candidate
    bool indexed_ = false;
    std::vector<int> named_; // the files the entries name, in order of first naming
    fs::PairedReader reader_;

    struct Candidate {
        int file = -1;
        qsizetype rank = 0; // first position in gPlayFiles naming the file
    };
    std::vector<Candidate> sorted_;               // by prefix
    std::vector<std::vector<qsizetype>> minRank_; // sparse table over sorted_ ranks
};

} // namespace huddlex
