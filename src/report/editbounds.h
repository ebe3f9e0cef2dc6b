#pragma once

#include <QByteArrayView>
#include <array>
#include <cstdint>

namespace huddlex {

// Cheap lower bounds on the edit distance between a captured play and a file, so that most
// files are ruled out before any alignment.

// How often each byte value occurs.
using ByteCounts = std::array<qint32, 256>;
ByteCounts CountBytes(QByteArrayView bytes);

// An edit moves at most one byte's count up and one down: the counts one side has beyond the
// other, and those it lacks, each need an edit apiece.
qint64 CountsBound(const ByteCounts& a, const ByteCounts& b);

// Which of the 65,536 byte pairs a file holds somewhere.
class PairSet {
public:
    void fill(QByteArrayView bytes);
    bool holds(quint16 pair) const { return bits_[pair >> 6] >> (pair & 63) & 1; }

private:
    std::array<std::uint64_t, 1024> bits_{};
};

// Of the play's bytes 0-1, 2-3, ..., the pairs the file lacks. An edit touches at most one of
// them, and one it leaves alone is a pair the file holds: each is the mark of an edit. Counted
// no further than one past `limit`.
qint64 MissingPairs(QByteArrayView play, const PairSet& file, qint64 limit);

} // namespace huddlex
