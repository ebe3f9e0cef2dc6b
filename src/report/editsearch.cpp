#include "report/editsearch.h"

#include "report/editbounds.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <optional>

namespace huddlex {

namespace {

// A file more than a quarter longer than every play it could be near is never read.
constexpr qint64 kMaxFileBytes = EditSearch::kMaxPlayBytes + EditSearch::kMaxPlayBytes / 4;
// Files held for the plays' candidates; past this, a play with more than one is settled at
// once, keeping one.
constexpr qint64 kHeldFileBytes = 8 << 20;

// A file that may be a play's nearest: its distance lies between `low` and `high`.
struct Candidate {
    qint64 file = -1; // its place in nearest order
    qint64 low = 0;   // the lower bounds
    qint64 high = 0;  // the cost of `edits`
    QByteArray content;
    QList<EditRun> edits; // a script; a shortest one when low == high
};

// A play as the search sees it.
struct Play {
    ByteCounts counts;
    std::vector<Candidate> candidates; // in file order; none can be ruled out yet
    qint64 heldBytes = 0;
};

class Search {
public:
    Search(std::vector<EditSearch>& plays, const std::vector<SearchFile>& files)
        : plays_(plays), files_(files), state_(plays.size()), bySize_(plays.size()) {
        for (size_t p = 0; p < plays.size(); ++p)
            state_[p].counts = CountBytes(plays[p].play);
        std::iota(bySize_.begin(), bySize_.end(), size_t(0));
        std::sort(bySize_.begin(), bySize_.end(),
                  [&](size_t a, size_t b) { return sizeOf(a) < sizeOf(b); });
        counts_.plays = qint64(plays.size());
    }

    EditCounts run() {
        for (size_t f = 0; f < files_.size(); ++f)
            visit(f);
        for (size_t p = 0; p < plays_.size(); ++p) {
            settle(p);
            if (state_[p].candidates.empty())
                continue;
            Candidate& best = state_[p].candidates.front();
            EditSearch& play = plays_[p];
            play.nearest = best.file;
            play.distance = best.low;
            play.nearestContent = std::move(best.content);
            play.edits = std::move(best.edits);
        }
        return counts_;
    }

private:
    qint64 sizeOf(size_t p) const { return plays_[p].play.size(); }

    // A file must come this near to be the play's nearest: within a quarter of the play, and
    // nearer than what an earlier file is known to reach.
    qint64 limit(size_t p) const {
        qint64 limit = sizeOf(p) / 4;
        for (const Candidate& c : state_[p].candidates)
            limit = std::min(limit, c.high - 1);
        return limit;
    }

    bool nearInLength(size_t p, qint64 size) const {
        return std::abs(sizeOf(p) - size) <= limit(p);
    }

    // The plays, by size, whose length lets them come within a quarter of a file of `size`.
    std::pair<size_t, size_t> window(qint64 size) const {
        const qint64 low = size * 4 / 5 - 1, high = size * 4 / 3 + 1;
        const auto first = std::partition_point(bySize_.begin(), bySize_.end(),
                                                [&](size_t p) { return sizeOf(p) < low; });
        const auto last =
            std::partition_point(first, bySize_.end(), [&](size_t p) { return sizeOf(p) <= high; });
        return {size_t(first - bySize_.begin()), size_t(last - bySize_.begin())};
    }

    void visit(size_t f) {
        const SearchFile& file = files_[f];
        fs::Result<fs::InputFile> opened = file.folder.openFile(file.name);
        if (!opened) {
            ++counts_.readFailures;
            return;
        }
        const qint64 size = opened->size();
        const auto [from, to] = window(size);
        if (size > kMaxFileBytes ||
            std::none_of(bySize_.begin() + qsizetype(from), bySize_.begin() + qsizetype(to),
                         [&](size_t p) { return nearInLength(p, size); }))
            return;
        const fs::Result<QByteArray> read = opened.value().read(size);
        if (!read) {
            ++counts_.readFailures;
            return;
        }
        ++counts_.filesRead;
        counts_.bytesRead += read->size();
        compare(f, *read);
    }

    void compare(size_t f, const QByteArray& content) {
        const qint64 size = content.size();
        std::optional<ByteCounts> counts;
        bool pairsFilled = false;
        const auto [from, to] = window(size);
        for (size_t i = from; i < to; ++i) {
            const size_t p = bySize_[i];
            const qint64 limit = this->limit(p);
            const qint64 gap = std::abs(sizeOf(p) - size);
            if (gap > limit)
                continue;
            ++counts_.pairs;
            if (!counts)
                counts = CountBytes(content);
            const qint64 byCounts = CountsBound(state_[p].counts, *counts);
            if (byCounts > limit)
                continue;
            if (!pairsFilled) {
                filePairs_.fill(content);
                pairsFilled = true;
            }
            const qint64 byPairs = MissingPairs(plays_[p].play, filePairs_, limit);
            if (byPairs > limit)
                continue;
            ++counts_.anchored;
            QList<EditRun> edits = AnchoredScript(plays_[p].play, content);
            const qint64 high = ScriptCost(edits);
            add(p,
                {qint64(f), std::max({gap, byCounts, byPairs}), high, content, std::move(edits)});
        }
    }

    void add(size_t p, Candidate candidate) {
        Play& play = state_[p];
        heldBytes_ += candidate.content.size();
        play.heldBytes += candidate.content.size();
        play.candidates.push_back(std::move(candidate));
        // A file whose lower bound is beyond another's script cannot be the nearest.
        qint64 high = play.candidates.front().high;
        for (const Candidate& c : play.candidates)
            high = std::min(high, c.high);
        std::erase_if(play.candidates, [&](const Candidate& c) {
            const bool out = c.low > high;
            if (out) {
                heldBytes_ -= c.content.size();
                play.heldBytes -= c.content.size();
            }
            return out;
        });
        if (heldBytes_ > kHeldFileBytes && play.candidates.size() > 1)
            settle(p);
    }

    // Settles the play's nearest among its candidates, nearest first by their lower bounds, so
    // that edlib aligns as few as it can; keeps only that one.
    void settle(size_t p) {
        Play& play = state_[p];
        std::vector<Candidate>& candidates = play.candidates;
        if (candidates.size() == 1 && candidates.front().low == candidates.front().high)
            return;
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return a.low != b.low ? a.low < b.low : a.file < b.file;
        });
        Candidate* best = nullptr;
        for (Candidate& c : candidates) {
            if (best && (c.low > best->low || (c.low == best->low && c.file > best->file)))
                continue;
            // An earlier file wins a tie, so a later one must come strictly nearer; the limit
            // leaves edlib only distances that win.
            qint64 distance = c.low;
            if (c.low != c.high) {
                const qint64 limit = !best ? std::min(c.high, sizeOf(p) / 4)
                                           : best->low - (c.file < best->file ? 0 : 1);
                ++counts_.aligned;
                distance = EditDistance(plays_[p].play, c.content, limit);
                if (distance < 0)
                    continue;
            }
            if (!best || distance < best->low || c.file < best->file) {
                c.low = distance;
                best = &c;
            }
        }
        std::optional<Candidate> kept;
        if (best) {
            if (best->high != best->low) {
                best->edits = ShortestScript(plays_[p].play, best->content, best->low);
                best->high = best->low;
            }
            kept = std::move(*best);
        }
        heldBytes_ -= play.heldBytes;
        candidates.clear();
        play.heldBytes = 0;
        if (kept) {
            play.heldBytes = kept->content.size();
            heldBytes_ += play.heldBytes;
            candidates.push_back(std::move(*kept));
        }
    }

    std::vector<EditSearch>& plays_;
    const std::vector<SearchFile>& files_;
    std::vector<Play> state_;
    std::vector<size_t> bySize_; // every play, shortest first
    PairSet filePairs_;          // of the file being compared
    qint64 heldBytes_ = 0;       // of every play's candidates
    EditCounts counts_;
};

} // namespace

EditCounts SearchEdits(std::vector<EditSearch>& plays, const std::vector<SearchFile>& files) {
    return Search(plays, files).run();
}

} // namespace huddlex
