#pragma once

#include "fs/folder.h"
#include "report/nearestplay.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <vector>

namespace huddlex {

// A file the search may compare with: the folder that holds it and its name there.
struct SearchFile {
    fs::Folder folder;
    QString name;
    qint64 libraryRank = -1; // place in library order; -1 for a candidate outside the library
};

// One captured play looked for among the files, by its size and its first bytes. The rest of
// its first kHeldBytes is read when a file that could match it or come near it turns up;
// comparisons that reach further read both files side by side a chunk at a time. The results
// are filled in by SearchPlays.
struct PlaySearch {
    static constexpr qint64 kHeldBytes = 64 * 1024;

    std::function<fs::Result<fs::InputFile>()> open; // the captured play
    qint64 size = 0;                                 // never 0

    QByteArray held;         // its first bytes; min(size, kHeldBytes) of them once needed
    bool unreadable = false; // it could not be read when it was needed
    qint64 matchRank = -1;   // library rank of the first library file that begins with the play
    qint64 nearest = -1;     // index of the nearest file, kept only within a quarter of the play
    qint64 distance = 0;
    qint64 nearestSize = 0;
    QByteArray nearestPrefix; // its first min(size, nearestSize, kHeldBytes) bytes
    QList<ByteRange> ranges;  // between the play and the nearest
};

struct SearchCounts {
    qint64 filesRead = 0;
    qint64 bytesRead = 0;
    qint64 filesSkipped = 0; // opened for their size only: no play could use their bytes
    qint64 readFailures = 0;
    qint64 playBytesRead = 0; // of the captured plays
};

// Compares every play with `files`, given in nearest order (the first of equally near files
// wins), in one pass: each file is opened once and read only as far as the longest comparison
// a play still needs of it, and not at all when its length alone puts it beyond every play's
// best distance so far and it cannot begin with any play that lacks an earlier match.
SearchCounts SearchPlays(std::vector<PlaySearch>& plays, const std::vector<SearchFile>& files);

} // namespace huddlex
