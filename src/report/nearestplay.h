#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

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

// The maximal runs of differing positions between two plays, built a piece at a time in
// offset order, then the length difference as one run of its own.
class RangeBuilder {
public:
    // Equal-length pieces of both plays that begin at `offset`.
    void compare(qint64 offset, QByteArrayView a, QByteArrayView b);
    QList<ByteRange> finish(qint64 sizeA, qint64 sizeB);

private:
    QList<ByteRange> ranges_;
};

// The runs between `play` and `nearestPrefix` (the nearest's first min(|play|, nearestSize)
// bytes), then the length difference.
QList<ByteRange> DifferingRanges(QByteArrayView play, QByteArrayView nearestPrefix,
                                 qint64 nearestSize);

} // namespace huddlex
