#include "report/editbounds.h"

#include <algorithm>
#include <cstring>

namespace huddlex {

namespace {

// Two bytes as one number, in the machine's order: the same for a play and a file.
quint16 pairAt(const char* bytes) {
    quint16 pair;
    std::memcpy(&pair, bytes, sizeof pair);
    return pair;
}

} // namespace

ByteCounts CountBytes(QByteArrayView bytes) {
    // Four tables, so that a run of one byte value (a play's zeros) does not wait on itself.
    std::array<ByteCounts, 4> part{};
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        ++part[0][p[i]];
        ++part[1][p[i + 1]];
        ++part[2][p[i + 2]];
        ++part[3][p[i + 3]];
    }
    for (; i < n; ++i)
        ++part[0][p[i]];
    for (size_t v = 0; v < 256; ++v)
        part[0][v] += part[1][v] + part[2][v] + part[3][v];
    return part[0];
}

qint64 CountsBound(const ByteCounts& a, const ByteCounts& b) {
    qint32 up = 0, down = 0; // a play is at most 80 KiB
    for (size_t i = 0; i < a.size(); ++i) {
        const qint32 d = a[i] - b[i];
        up += std::max(d, 0);
        down += std::max(-d, 0);
    }
    return std::max(up, down);
}

void PairSet::fill(QByteArrayView bytes) {
    bits_.fill(0);
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        const quint16 pair = pairAt(bytes.data() + i);
        bits_[pair >> 6] |= std::uint64_t(1) << (pair & 63);
    }
}

qint64 MissingPairs(QByteArrayView play, const PairSet& file, qint64 limit) {
    // Four sums, so that the tests do not wait on one another; the limit is looked at between
    // blocks.
    const char* bytes = play.data();
    const qsizetype n = play.size() / 2; // pairs
    qint64 missing = 0;
    qsizetype i = 0;
    for (; i + 64 <= n && missing <= limit; i += 64) {
        unsigned held[4] = {0, 0, 0, 0};
        for (qsizetype j = i; j < i + 64; j += 4) {
            held[0] += file.holds(pairAt(bytes + 2 * j));
            held[1] += file.holds(pairAt(bytes + 2 * j + 2));
            held[2] += file.holds(pairAt(bytes + 2 * j + 4));
            held[3] += file.holds(pairAt(bytes + 2 * j + 6));
        }
        missing += 64 - (held[0] + held[1] + held[2] + held[3]);
    }
    for (; i < n && missing <= limit; ++i)
        missing += !file.holds(pairAt(bytes + 2 * i));
    return missing;
}

} // namespace huddlex
