#include "report/nearestplay.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace huddlex {

namespace {

// Sixteen bytes compared at once: GCC and Clang turn this into SSE2 on x86-64 and NEON on ARM.
using Lanes = unsigned char __attribute__((vector_size(16)));

Lanes load(const char* p) {
    Lanes lanes;
    std::memcpy(&lanes, p, sizeof lanes);
    return lanes;
}

// Sum of the eight bytes of `x`, each at most 31.
int byteSum(std::uint64_t x) {
    return int((x * 0x0101010101010101ull) >> 56);
}

qint64 lengthGap(qint64 a, qint64 b) {
    return a > b ? a - b : b - a;
}

} // namespace

qint64 CountDiffering(QByteArrayView a, QByteArrayView b, qint64 limit) {
    const qint64 n = std::min(a.size(), b.size());
    const char* pa = a.data();
    const char* pb = b.data();
    constexpr qint64 block = 256;
    qint64 count = 0;
    qint64 i = 0;
    // A block at a time, then a look at the limit: most comparisons end early.
    for (; i + block <= n && count < limit; i += block) {
        Lanes equal = {}; // per lane, how many of the block's sixteen vectors matched
        for (qint64 v = 0; v < block; v += 16)
            equal -= reinterpret_cast<Lanes>(load(pa + i + v) == load(pb + i + v));
        std::uint64_t halves[2];
        std::memcpy(halves, &equal, sizeof halves);
        count += block - byteSum(halves[0]) - byteSum(halves[1]);
    }
    for (; i < n && count < limit; ++i)
        count += pa[i] != pb[i];
    return std::min(count, limit);
}

qint64 PlayDistance(QByteArrayView a, QByteArrayView b) {
    const qint64 gap = lengthGap(a.size(), b.size());
    return CountDiffering(a, b, std::max(a.size(), b.size()) + 1) + gap;
}

void RangeBuilder::compare(qint64 offset, QByteArrayView a, QByteArrayView b) {
    for (qint64 i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const qint64 at = offset + i;
        if (!ranges_.isEmpty() && ranges_.back().last == at - 1)
            ranges_.back().last = at;
        else
            ranges_.append({at, at});
    }
}

QList<ByteRange> RangeBuilder::finish(qint64 sizeA, qint64 sizeB) {
    QList<ByteRange> ranges = std::move(ranges_);
    ranges_.clear();
    if (sizeA != sizeB)
        ranges.append({std::min(sizeA, sizeB), std::max(sizeA, sizeB) - 1});
    return ranges;
}

QList<ByteRange> DifferingRanges(QByteArrayView play, QByteArrayView nearestPrefix,
                                 qint64 nearestSize) {
    const qint64 n = std::min({play.size(), nearestPrefix.size(), nearestSize});
    RangeBuilder builder;
    builder.compare(0, play.first(n), nearestPrefix.first(n));
    return builder.finish(play.size(), nearestSize);
}

} // namespace huddlex
