#pragma once

#include "fs/inputfile.h"
#include "settings/gamepaths.h"
#include "validate/candidatefiles.h"
#include "validate/playpathlist.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace huddlex {

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

    // Keeps references: both must outlive the identifier and stay unchanged while it is used.
    PlayIdentifier(const GamePaths& paths, const std::optional<PlayPathList>& playFiles);

    // The outcome for "Xferbox\FBplay<captureNumber>.ply": the matching entry of gPlayFiles or
    // UnknownPlay. A play that is missing, unreadable or empty is unknown.
    QString IdentifyPlay(qint64 captureNumber);

    // The same for the captured play at `windowsPath`.
    QString identifyFile(const QString& windowsPath);

    // The same for a captured play already open.
    QString identify(fs::InputFile& play);

    // The same rule for a play already in memory.
    QString identifyBytes(QByteArrayView play);

    // Distinct candidate files found so far (for the benchmark and tests).
    int candidateFilesRead() const { return files_ ? files_->fileCount() : 0; }

    class Source; // bytes of a captured play, from memory or from its file

private:
    QString identifySource(Source& play);
    void buildIndex();
    std::pair<size_t, size_t> runStartingWith(QByteArrayView head) const;
    qsizetype earliestIn(size_t from, size_t count) const;
    qsizetype earliestLongMatch(Source& play, size_t from, size_t count);

    const GamePaths& paths_;
    const std::optional<PlayPathList>& playFiles_;
    std::optional<CandidateFiles> files_;
    qint64 longest_ = 0; // size of the longest candidate

    struct Candidate {
        int file = -1;
        qsizetype rank = 0; // first position in gPlayFiles naming the file
    };
    std::vector<Candidate> sorted_;               // by prefix
    std::vector<std::vector<qsizetype>> minRank_; // sparse table over sorted_ ranks
};

} // namespace huddlex
