#pragma once

#include "fs/filelookup.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <vector>

namespace huddlex {

struct ByteRange {
    qint64 first = 0; // 0-based, inclusive
    qint64 last = 0;
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// Positions below min(|a|, |b|) where a and b differ, counted no further than `limit`: the
// result is min(count, limit), found without looking past the point where it reaches it.
qint64 CountDiffering(QByteArrayView a, QByteArrayView b, qint64 limit);

// The distance between two plays: the differing positions below the shorter length plus the
// difference of the lengths.
qint64 PlayDistance(QByteArrayView a, QByteArrayView b);

// The maximal runs of differing positions between `play` and `nearestPrefix` (the nearest's
// first min(|play|, nearestSize) bytes), then the length difference as one run of its own.
QList<ByteRange> DifferingRanges(QByteArrayView play, QByteArrayView nearestPrefix,
                                 qint64 nearestSize);

// A file the search may compare with.
struct SearchFile {
    fs::FoundFile file;
    qint64 libraryRank = -1; // place in library order; -1 for a candidate outside the library
};

// One captured play looked for among the files; the results are filled in by SearchPlays.
struct PlaySearch {
    QByteArray play;       // the whole captured play, never empty
    qint64 matchRank = -1; // library rank of the first library file that begins with the play
    qint64 nearest = -1;   // index of the nearest file, kept only within a quarter of the play
    qint64 distance = 0;
    qint64 nearestSize = 0;
    QByteArray nearestPrefix; // its first min(|play|, nearestSize) bytes
};

struct SearchCounts {
    qint64 filesRead = 0;
    qint64 bytesRead = 0;
    qint64 filesSkipped = 0; // never opened: no play could use them
    qint64 readFailures = 0;
};

// Compares every play with `files`, given in nearest order (the first of equally near files
// wins), in one pass: each file is read at most once, only as far as the longest comparison
// a play still needs of it, and not at all when its length alone puts it beyond every play's
// best distance so far and it cannot begin with any play that lacks an earlier match.
SearchCounts SearchPlays(std::vector<PlaySearch>& plays, const std::vector<SearchFile>& files);

} // namespace huddlex
