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

QList<ByteRange> DifferingRanges(QByteArrayView play, QByteArrayView nearestPrefix,
                                 qint64 nearestSize) {
    QList<ByteRange> ranges;
    const qint64 n = std::min({play.size(), nearestPrefix.size(), nearestSize});
    for (qint64 i = 0; i < n; ++i) {
        if (play[i] == nearestPrefix[i])
            continue;
        if (!ranges.isEmpty() && ranges.back().last == i - 1)
            ranges.back().last = i;
        else
            ranges.append({i, i});
    }
    const qint64 longer = std::max(play.size(), nearestSize);
    const qint64 shorter = std::min(play.size(), nearestSize);
    if (longer > shorter)
        ranges.append({shorter, longer - 1});
    return ranges;
}

SearchCounts SearchPlays(std::vector<PlaySearch>& plays, const std::vector<SearchFile>& files) {
    SearchCounts counts;
    // A file must come strictly nearer than this to replace a play's best: at first, a
    // quarter of the play, since nothing farther makes it a modified copy.
    std::vector<qint64> bound(plays.size());
    for (size_t p = 0; p < plays.size(); ++p)
        bound[p] = plays[p].play.size() / 4 + 1;

    auto wantsPrefix = [](const PlaySearch& play, const SearchFile& file, qint64 size) {
        return file.libraryRank >= 0 && size >= play.play.size() &&
               (play.matchRank < 0 || file.libraryRank < play.matchRank);
    };
    auto wantsNearest = [&](size_t p, qint64 size) {
        return plays[p].matchRank < 0 && lengthGap(plays[p].play.size(), size) < bound[p];
    };

    for (size_t f = 0; f < files.size(); ++f) {
        const SearchFile& file = files[f];
        qint64 need = 0;
        for (size_t p = 0; p < plays.size(); ++p) {
            if (wantsPrefix(plays[p], file, file.file.size) || wantsNearest(p, file.file.size))
                need = std::max(need, std::min(plays[p].play.size(), file.file.size));
        }
        if (need == 0) {
            ++counts.filesSkipped;
            continue;
        }
        const fs::Result<QByteArray> read = fs::readPrefix(file.file, need);
        if (!read) {
            ++counts.readFailures;
            continue;
        }
        const QByteArray& content = *read;
        ++counts.filesRead;
        counts.bytesRead += content.size();
        // A file that ended early has shrunk since it was listed: its end is where it is now.
        const qint64 size = content.size() < need ? content.size() : file.file.size;

        for (size_t p = 0; p < plays.size(); ++p) {
            PlaySearch& play = plays[p];
            const QByteArrayView u(play.play);
            if (wantsPrefix(play, file, size)) {
                // The last byte first: every play begins with the same header.
                if (content[u.size() - 1] == u.back() &&
                    QByteArrayView(content).first(u.size()) == u) {
                    play.matchRank = file.libraryRank;
                    continue;
                }
            }
            if (!wantsNearest(p, size))
                continue;
            const qint64 gap = lengthGap(u.size(), size);
            const qint64 shorter = std::min(u.size(), size);
            const qint64 limit = bound[p] - gap;
            const qint64 differing =
                CountDiffering(u.first(shorter), QByteArrayView(content).first(shorter), limit);
            if (differing < limit) {
                bound[p] = differing + gap;
                play.nearest = static_cast<qint64>(f);
                play.distance = bound[p];
                play.nearestSize = size;
                play.nearestPrefix = content.first(shorter);
            }
        }
    }
    return counts;
}

} // namespace huddlex
