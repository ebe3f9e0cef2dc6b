#include "validate/playidentifier.h"

#include "capture/capturedplays.h"
#include "validate/fbplan.h"

#include <algorithm>
#include <cstring>

namespace huddlex {

// A captured play's bytes by position, from memory or from its file.
class PlayIdentifier::Source {
public:
    virtual ~Source() = default;
    virtual qint64 size() const = 0;
    // Bytes [position, position + length); false when they cannot all be read.
    virtual bool readAt(qint64 position, char* into, qint64 length) = 0;
    // The first position at or after `position` that may hold data (InputFile::dataFrom).
    virtual qint64 dataFrom(qint64 position) const = 0;
};

namespace {

constexpr qint64 kChunkBytes = 256 * 1024;

class MemorySource final : public PlayIdentifier::Source {
public:
    explicit MemorySource(QByteArrayView bytes) : bytes_(bytes) {}
    qint64 size() const override { return bytes_.size(); }
    bool readAt(qint64 position, char* into, qint64 length) override {
        std::memcpy(into, bytes_.data() + position, static_cast<size_t>(length));
        return true;
    }
    qint64 dataFrom(qint64 position) const override { return position; }

private:
    QByteArrayView bytes_;
};

class FileSource final : public PlayIdentifier::Source {
public:
    explicit FileSource(fs::InputFile& file) : file_(file) {}
    qint64 size() const override { return file_.size(); }
    bool readAt(qint64 position, char* into, qint64 length) override {
        if (!file_.seek(position)) {
            return false;
        }
        const fs::Result<qint64> got = file_.read(into, length);
        return got && *got == length;
    }
    qint64 dataFrom(qint64 position) const override { return file_.dataFrom(position); }

private:
    fs::InputFile& file_;
};

// Whether bytes [from, to) of both sources are equal, a chunk at a time. Where both hold a
// hole, both read as zeros and the range is skipped unread.
bool sameBytes(PlayIdentifier::Source& a, PlayIdentifier::Source& b, qint64 from, qint64 to) {
    QByteArray bufferA(kChunkBytes, Qt::Uninitialized);
    QByteArray bufferB(kChunkBytes, Qt::Uninitialized);
    qint64 position = from;
    while (position < to) {
        const qint64 bothHoles = std::min({a.dataFrom(position), b.dataFrom(position), to});
        if (bothHoles > position) {
            position = bothHoles;
            continue;
        }
        const qint64 length = std::min(kChunkBytes, to - position);
        if (!a.readAt(position, bufferA.data(), length) ||
            !b.readAt(position, bufferB.data(), length) ||
            std::memcmp(bufferA.constData(), bufferB.constData(), static_cast<size_t>(length))) {
            return false;
        }
        position += length;
    }
    return true;
}

// Byte order with unsigned bytes; a proper prefix sorts first.
int compareBytes(QByteArrayView a, QByteArrayView b) {
    const qsizetype common = std::min(a.size(), b.size());
    if (common > 0) {
        if (const int c = std::memcmp(a.data(), b.data(), static_cast<size_t>(common))) {
            return c;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

PlayIdentifier::PlayIdentifier(const GamePaths& paths, const std::optional<PlayPathList>& playFiles)
    : paths_(paths), playFiles_(playFiles) {}

QString PlayIdentifier::IdentifyPlay(qint64 captureNumber) {
    return identifyFile(paths_.captureFile(CapturedPlays::canonicalName(captureNumber)));
}

QString PlayIdentifier::identifyFile(const QString& windowsPath) {
    fs::Result<fs::InputFile> play = fs::openFile(windowsPath);
    if (!play) {
        return UnknownPlay;
    }
    fs::InputFile file = std::move(play).value();
    return identify(file);
}

QString PlayIdentifier::identify(fs::InputFile& play) {
    FileSource source(play);
    return identifySource(source);
}

QString PlayIdentifier::identifyBytes(QByteArrayView play) {
    MemorySource source(play);
    return identifySource(source);
}

QString PlayIdentifier::identifySource(Source& play) {
    const qint64 n = play.size();
    // An empty play would be a prefix of every candidate: it identifies nothing.
    if (n == 0 || !playFiles_ || playFiles_->isEmpty()) {
        return UnknownPlay;
    }
    if (!files_) {
        buildIndex();
    }
    if (n > longest_) {
        return UnknownPlay; // no candidate is long enough: nothing to read
    }
    QByteArray head(std::min(n, kPrefixBytes), Qt::Uninitialized);
    if (!play.readAt(0, head.data(), head.size())) {
        return UnknownPlay;
    }
    const auto [from, count] = runStartingWith(head);
    if (count == 0) {
        return UnknownPlay;
    }
    const qsizetype rank =
        n <= kPrefixBytes ? earliestIn(from, count) : earliestLongMatch(play, from, count);
    return rank < 0 ? UnknownPlay : playFiles_->entry(rank);
}

void PlayIdentifier::buildIndex() {
    files_.emplace(paths_.gameFolder(), kPrefixBytes);
    std::vector<qsizetype> firstRank;
    playFiles_->forEach([&](qsizetype index, QByteArrayView path) {
        const int file = files_->resolve(path);
        if (file >= 0 && static_cast<size_t>(file) == firstRank.size()) {
            firstRank.push_back(index); // resolve hands out ids in order of first naming
        }
        return true;
    });

    sorted_.clear();
    longest_ = 0;
    for (size_t file = 0; file < firstRank.size(); ++file) {
        const qint64 size = files_->size(static_cast<int>(file));
        if (size > 0) { // an empty file matches no non-empty play
            sorted_.push_back({static_cast<int>(file), firstRank[file]});
            longest_ = std::max(longest_, size);
        }
    }
    std::sort(sorted_.begin(), sorted_.end(), [this](const Candidate& a, const Candidate& b) {
        return compareBytes(files_->prefix(a.file), files_->prefix(b.file)) < 0;
    });

    minRank_.clear();
    std::vector<qsizetype> level(sorted_.size());
    std::transform(sorted_.begin(), sorted_.end(), level.begin(),
                   [](const Candidate& c) { return c.rank; });
    minRank_.push_back(std::move(level));
    for (size_t width = 2; width <= sorted_.size(); width *= 2) {
        const std::vector<qsizetype>& previous = minRank_.back();
        std::vector<qsizetype> next(sorted_.size() - width + 1);
        for (size_t i = 0; i < next.size(); ++i) {
            next[i] = std::min(previous[i], previous[i + width / 2]);
        }
        minRank_.push_back(std::move(next));
    }
}

std::pair<size_t, size_t> PlayIdentifier::runStartingWith(QByteArrayView head) const {
    auto prefixOf = [this](const Candidate& c) { return QByteArrayView(files_->prefix(c.file)); };
    // Prefixes that begin with `head` sort at or after it and before anything whose first
    // bytes are greater, so they form one run.
    auto first = std::partition_point(sorted_.begin(), sorted_.end(), [&](const Candidate& c) {
        return compareBytes(prefixOf(c), head) < 0;
    });
    auto last = std::partition_point(first, sorted_.end(), [&](const Candidate& c) {
        const QByteArrayView prefix = prefixOf(c);
        return prefix.size() >= head.size() && prefix.first(head.size()) == head;
    });
    return {static_cast<size_t>(first - sorted_.begin()), static_cast<size_t>(last - first)};
}

qsizetype PlayIdentifier::earliestIn(size_t from, size_t count) const {
    size_t levelIndex = 0;
    while ((size_t{2} << levelIndex) <= count) {
        ++levelIndex;
    }
    const std::vector<qsizetype>& level = minRank_[levelIndex];
    return std::min(level[from], level[from + count - (size_t{1} << levelIndex)]);
}

qsizetype PlayIdentifier::earliestLongMatch(Source& play, size_t from, size_t count) {
    // The run shares the play's first kPrefixBytes; those long enough are read on, in
    // gPlayFiles order, until one holds the rest of the play too.
    std::vector<Candidate> longEnough;
    for (size_t i = from; i < from + count; ++i) {
        if (files_->size(sorted_[i].file) >= play.size()) {
            longEnough.push_back(sorted_[i]);
        }
    }
    std::sort(longEnough.begin(), longEnough.end(),
              [](const Candidate& a, const Candidate& b) { return a.rank < b.rank; });
    for (const Candidate& candidate : longEnough) {
        fs::Result<fs::InputFile> opened = files_->open(candidate.file);
        if (!opened) {
            continue;
        }
        fs::InputFile file = std::move(opened).value();
        FileSource source(file);
        if (sameBytes(play, source, kPrefixBytes, play.size())) {
            return candidate.rank;
        }
    }
    return -1;
}

} // namespace huddlex
