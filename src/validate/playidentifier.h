#pragma once

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
// Instead of reopening every candidate for every play, the first use reads each distinct
// candidate file once and sorts the contents: the candidates that begin with a given play
// then form one run of that order, and the earliest of them in gPlayFiles is found with a
// range-minimum table. Nothing is ever written.
class PlayIdentifier {
public:
    // Keeps references: both must outlive the identifier and stay unchanged while it is used.
    PlayIdentifier(const GamePaths& paths, const std::optional<PlayPathList>& playFiles);

    // The outcome for "Xferbox\FBplay<captureNumber>.ply": the matching entry of gPlayFiles or
    // UnknownPlay. A play that is missing, unreadable or empty is unknown.
    QString IdentifyPlay(qint64 captureNumber);

    // The same for the captured play at `windowsPath`.
    QString identifyFile(const QString& windowsPath);

    // The same rule for a play already in memory.
    QString identifyBytes(QByteArrayView play);

    // Candidate files read so far (for the benchmark and tests).
    int candidateFilesRead() const { return files_ ? files_->fileCount() : 0; }

private:
    void buildIndex();
    qsizetype earliestMatch(QByteArrayView play) const;

    const GamePaths& paths_;
    const std::optional<PlayPathList>& playFiles_;
    std::optional<CandidateFiles> files_;

    struct Candidate {
        int file = -1;
        qsizetype rank = 0; // first position in gPlayFiles naming the file
    };
    std::vector<Candidate> sorted_;               // by content
    std::vector<std::vector<qsizetype>> minRank_; // sparse table over sorted_ ranks
};

} // namespace huddlex
