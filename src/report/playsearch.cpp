#include "report/playsearch.h"

#include "fs/pairedreader.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace huddlex {

namespace {

constexpr qint64 kHeld = PlaySearch::kHeldBytes;
// Plays at least this long are found for a prefix test by their first bytes.
constexpr qint64 kHeadBytes = 256;

qint64 lengthGap(qint64 a, qint64 b) {
    return a > b ? a - b : b - a;
}

class Search {
public:
    Search(std::vector<PlaySearch>& plays, const std::vector<SearchFile>& files)
        : plays_(plays), files_(files), bound_(plays.size()) {
        // A file must come strictly nearer than this to replace a play's best: at first, a
        // quarter of the play, since nothing farther makes it a modified copy.
        for (size_t p = 0; p < plays.size(); ++p) {
            bound_[p] = plays[p].size / 4 + 1;
            bySize_.push_back(p);
        }
        std::sort(bySize_.begin(), bySize_.end(),
                  [&](size_t a, size_t b) { return plays[a].size < plays[b].size; });
        for (size_t p : bySize_) {
            if (plays[p].size < kHeadBytes)
                short_.push_back(p);
            else if (plays[p].held.size() >= kHeadBytes || hold(plays[p]))
                byHead_[plays[p].held.first(kHeadBytes)].push_back(p);
        }
    }

    SearchCounts run() {
        for (size_t f = 0; f < files_.size(); ++f)
            compareWith(f);
        for (PlaySearch& play : plays_) {
            if (!play.unreadable && play.matchRank < 0 && play.nearest >= 0)
                play.ranges = rangesOf(play);
        }
        return counts_;
    }

private:
    bool wantsPrefix(const PlaySearch& play, const SearchFile& file, qint64 size) const {
        return !play.unreadable && file.libraryRank >= 0 && size >= play.size &&
               (play.matchRank < 0 || file.libraryRank < play.matchRank);
    }
    bool wantsNearest(size_t p, qint64 size) const {
        const PlaySearch& play = plays_[p];
        return !play.unreadable && play.matchRank < 0 && lengthGap(play.size, size) < bound_[p];
    }

    // The plays, by size, whose length alone lets them come near a file of `size`: their best
    // is never farther than a quarter of their length.
    std::pair<size_t, size_t> nearWindow(qint64 size) const {
        const qint64 low = (size - 1) * 4 / 5 - 1;
        const qint64 high = (size + 1) * 4 / 3 + 1;
        auto sizeOf = [this](size_t p) { return plays_[p].size; };
        const auto first = std::partition_point(bySize_.begin(), bySize_.end(),
                                                [&](size_t p) { return sizeOf(p) < low; });
        const auto last =
            std::partition_point(first, bySize_.end(), [&](size_t p) { return sizeOf(p) <= high; });
        return {size_t(first - bySize_.begin()), size_t(last - bySize_.begin())};
    }

    // How far the longest play that may begin a file of `size` reaches into it.
    qint64 prefixNeed(const SearchFile& file, qint64 size) const {
        const auto end = std::partition_point(bySize_.begin(), bySize_.end(),
                                              [&](size_t p) { return plays_[p].size <= size; });
        for (auto it = end; it != bySize_.begin();) {
            const size_t p = *--it;
            if (wantsPrefix(plays_[p], file, size))
                return plays_[p].size;
        }
        return 0;
    }

    void compareWith(size_t f) {
        const SearchFile& file = files_[f];
        fs::Result<fs::InputFile> opened = file.folder.openFile(file.name);
        if (!opened) {
            ++counts_.readFailures;
            return;
        }
        fs::InputFile& in = opened.value();
        qint64 size = in.size();
        qint64 need = file.libraryRank >= 0 ? prefixNeed(file, size) : 0;
        const auto [from, to] = nearWindow(size);
        for (size_t i = from; i < to; ++i) {
            if (wantsNearest(bySize_[i], size))
                need = std::max(need, std::min(plays_[bySize_[i]].size, size));
        }
        if (need == 0) {
            ++counts_.filesSkipped;
            return;
        }
        const qint64 wanted = std::min(need, kHeld);
        const fs::Result<QByteArray> read = in.read(wanted);
        if (!read) {
            ++counts_.readFailures;
            return;
        }
        const QByteArray& content = *read;
        ++counts_.filesRead;
        counts_.bytesRead += content.size();
        // A file that ended early has shrunk since it was opened: its end is where it is now.
        if (content.size() < wanted)
            size = content.size();

        if (file.libraryRank >= 0) {
            for (size_t p : short_)
                testPrefix(p, file, size, in, content);
            if (content.size() >= kHeadBytes) {
                const auto same = byHead_.constFind(content.first(kHeadBytes));
                if (same != byHead_.constEnd()) {
                    for (size_t p : *same)
                        testPrefix(p, file, size, in, content);
                }
            }
        }
        const auto [nearFrom, nearTo] = nearWindow(size);
        for (size_t i = nearFrom; i < nearTo; ++i)
            testNearest(bySize_[i], f, size, in, content);
    }

    void testPrefix(size_t p, const SearchFile& file, qint64 size, fs::InputFile& in,
                    const QByteArray& content) {
        PlaySearch& play = plays_[p];
        if (wantsPrefix(play, file, size) && hold(play) && begins(play, in, content))
            play.matchRank = file.libraryRank;
    }

    void testNearest(size_t p, size_t f, qint64 size, fs::InputFile& in,
                     const QByteArray& content) {
        PlaySearch& play = plays_[p];
        if (!wantsNearest(p, size) || !hold(play))
            return;
        const qint64 gap = lengthGap(play.size, size);
        const qint64 limit = bound_[p] - gap;
        const std::optional<qint64> differing =
            countDiffering(play, in, content, std::min(play.size, size), limit);
        if (differing && *differing < limit) {
            bound_[p] = *differing + gap;
            play.nearest = static_cast<qint64>(f);
            play.distance = bound_[p];
            play.nearestSize = size;
            play.nearestPrefix = content.first(std::min({play.size, size, kHeld}));
        }
    }

    // Reads the rest of the play's held bytes the first time a file needs them.
    bool hold(PlaySearch& play) {
        const qint64 wanted = std::min(play.size, kHeld);
        if (play.held.size() >= wanted)
            return true;
        fs::Result<fs::InputFile> opened = play.open();
        if (!opened || !opened.value().seek(play.held.size())) {
            play.unreadable = true;
            return false;
        }
        const qint64 rest = wanted - play.held.size();
        const fs::Result<QByteArray> read = opened.value().read(rest);
        if (!read || read->size() != rest) {
            play.unreadable = true;
            return false;
        }
        play.held += *read;
        counts_.playBytesRead += rest;
        return true;
    }

    // Visits what lies past the held bytes of the play and of the file `in`, up to `to`.
    bool beyondHeld(PlaySearch& play, fs::InputFile& in, qint64 to,
                    const std::function<bool(qint64, QByteArrayView, QByteArrayView)>& visit) {
        fs::Result<fs::InputFile> opened = play.open();
        if (!opened) {
            play.unreadable = true;
            return false;
        }
        return !reader_.forEach(opened.value(), in, kHeld, to,
                                [&](qint64 at, QByteArrayView a, QByteArrayView b) {
                                    counts_.playBytesRead += a.size();
                                    counts_.bytesRead += b.size();
                                    return visit(at, a, b);
                                });
    }

    // Whether the file begins with the whole play.
    bool begins(PlaySearch& play, fs::InputFile& in, const QByteArray& content) {
        const QByteArrayView u = QByteArrayView(play.held);
        // The last byte first: every play begins with the same header.
        if (content[u.size() - 1] != u.back() || QByteArrayView(content).first(u.size()) != u)
            return false;
        if (play.size <= kHeld)
            return true;
        bool same = true;
        const bool read =
            beyondHeld(play, in, play.size, [&](qint64, QByteArrayView a, QByteArrayView b) {
                same = a == b;
                return same;
            });
        return read && same;
    }

    // Differing positions below `shorter`, counted no further than `limit`; nothing when the
    // bytes past the held ones cannot be read.
    std::optional<qint64> countDiffering(PlaySearch& play, fs::InputFile& in,
                                         const QByteArray& content, qint64 shorter, qint64 limit) {
        const qint64 held = std::min(shorter, kHeld);
        qint64 count = CountDiffering(QByteArrayView(play.held).first(held),
                                      QByteArrayView(content).first(held), limit);
        if (shorter > kHeld && count < limit) {
            const bool read =
                beyondHeld(play, in, shorter, [&](qint64, QByteArrayView a, QByteArrayView b) {
                    count += CountDiffering(a, b, limit - count);
                    return count < limit;
                });
            if (!read) {
                counts_.readFailures += play.unreadable ? 0 : 1;
                return std::nullopt;
            }
        }
        return count;
    }

    QList<ByteRange> rangesOf(PlaySearch& play) {
        const qint64 shorter = std::min(play.size, play.nearestSize);
        if (shorter <= kHeld)
            return DifferingRanges(play.held, play.nearestPrefix, play.nearestSize);
        RangeBuilder builder;
        builder.compare(0, play.held, play.nearestPrefix);
        const SearchFile& file = files_[static_cast<size_t>(play.nearest)];
        fs::Result<fs::InputFile> nearest = file.folder.openFile(file.name);
        const bool read = nearest && beyondHeld(play, nearest.value(), shorter,
                                                [&](qint64 at, QByteArrayView a, QByteArrayView b) {
                                                    builder.compare(at, a, b);
                                                    return true;
                                                });
        if (!read)
            ++counts_.readFailures; // the runs past the held bytes stay unknown
        return builder.finish(play.size, play.nearestSize);
    }

    std::vector<PlaySearch>& plays_;
    const std::vector<SearchFile>& files_;
    std::vector<qint64> bound_;
    std::vector<size_t> bySize_;                    // every play, shortest first
    std::vector<size_t> short_;                     // plays shorter than kHeadBytes
    QHash<QByteArray, std::vector<size_t>> byHead_; // the others by their first bytes
    SearchCounts counts_;
    fs::PairedReader reader_;
};

} // namespace

SearchCounts SearchPlays(std::vector<PlaySearch>& plays, const std::vector<SearchFile>& files) {
    return Search(plays, files).run();
}

} // namespace huddlex
