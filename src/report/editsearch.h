#pragma once

#include "report/editscript.h"
#include "report/playsearch.h"

#include <QByteArray>
#include <QList>
#include <vector>

namespace huddlex {

// A captured play that the position-wise search left without a nearest play, looked for among
// the files by edit distance: bytes inserted, deleted and changed.
struct EditSearch {
    // Only plays held whole are searched: a play longer than this stays unknown.
    static constexpr qint64 kMaxPlayBytes = PlaySearch::kHeldBytes;

    QByteArray play;           // the whole captured play, 1 to kMaxPlayBytes bytes
    qint64 nearest = -1;       // index of the nearest file, kept only within a quarter of the play
    qint64 distance = 0;       // its edit distance
    QByteArray nearestContent; // the whole nearest file
    QList<EditRun> edits;      // a shortest script from it to the play
};

struct EditCounts {
    qint64 plays = 0; // searched
    qint64 filesRead = 0;
    qint64 bytesRead = 0;
    qint64 readFailures = 0;
    qint64 pairs = 0;    // play and file near enough in length to be looked at
    qint64 anchored = 0; // of them, those no lower bound ruled out
    qint64 aligned = 0;  // of those, the ones whose distance only edlib could settle
};

// Compares every play with `files`, given in nearest order (the first of equally near files
// wins), in one pass: a file is read, whole, only when its length lies within some play's best
// distance so far; lower bounds (the bytes' counts, and the play's byte pairs the file lacks)
// rule most files out before any alignment.
EditCounts SearchEdits(std::vector<EditSearch>& plays, const std::vector<SearchFile>& files);

} // namespace huddlex
