#include "report/editbounds.h"

#include <algorithm>

namespace huddlex {

namespace {

quint16 pairAt(QByteArrayView bytes, qsizetype i) {
    return quint16(static_cast<unsigned char>(bytes[i]) << 8 |
                   static_cast<unsigned char>(bytes[i + 1]));
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
        const quint16 pair = pairAt(bytes, i);
        bits_[pair >> 6] |= std::uint64_t(1) << (pair & 63);
    }
}

std::vector<quint16> DisjointPairs(QByteArrayView bytes) {
    std::vector<quint16> pairs;
    pairs.reserve(size_t(bytes.size() / 2));
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        pairs.push_back(pairAt(bytes, i));
    return pairs;
}

qint64 MissingPairs(const std::vector<quint16>& pairs, const PairSet& file, qint64 limit) {
    // Four sums, so that the tests do not wait on one another; the limit is looked at between
    // blocks.
    const quint16* pair = pairs.data();
    const size_t n = pairs.size();
    qint64 missing = 0;
    size_t i = 0;
    for (; i + 64 <= n && missing <= limit; i += 64) {
        unsigned held[4] = {0, 0, 0, 0};
        for (size_t j = i; j < i + 64; j += 4) {
            held[0] += file.holds(pair[j]);
            held[1] += file.holds(pair[j + 1]);
            held[2] += file.holds(pair[j + 2]);
            held[3] += file.holds(pair[j + 3]);
        }
        missing += 64 - (held[0] + held[1] + held[2] + held[3]);
    }
    for (; i < n && missing <= limit; ++i)
        missing += !file.holds(pair[i]);
    return missing;
}

} // namespace huddlex
