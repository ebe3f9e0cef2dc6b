#include "validate/playidentifier.h"

#include "capture/capturedplays.h"
#include "fs/filesystem.h"
#include "validate/fbplan.h"

#include <algorithm>
#include <cstring>

namespace huddlex {

namespace {

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
    fs::Result<QByteArray> play = fs::readFile(windowsPath);
    if (!play) {
        return UnknownPlay;
    }
    return identifyBytes(*play);
}

QString PlayIdentifier::identifyBytes(QByteArrayView play) {
    // An empty play would be a prefix of every candidate: it identifies nothing.
    if (play.isEmpty() || !playFiles_ || playFiles_->isEmpty()) {
        return UnknownPlay;
    }
    if (!files_) {
        buildIndex();
    }
    const qsizetype rank = earliestMatch(play);
    return rank < 0 ? UnknownPlay : playFiles_->entry(rank);
}

void PlayIdentifier::buildIndex() {
    files_.emplace(paths_.gameFolder());
    std::vector<qsizetype> firstRank;
    playFiles_->forEach([&](qsizetype index, QByteArrayView path) {
        const int file = files_->resolve(path);
        if (file >= 0 && static_cast<size_t>(file) == firstRank.size()) {
            firstRank.push_back(index); // resolve hands out ids in order of first naming
        }
        return true;
    });

    sorted_.clear();
    for (size_t file = 0; file < firstRank.size(); ++file) {
        if (!files_->content(static_cast<int>(file)).isEmpty()) { // matches no non-empty play
            sorted_.push_back({static_cast<int>(file), firstRank[file]});
        }
    }
    std::sort(sorted_.begin(), sorted_.end(), [this](const Candidate& a, const Candidate& b) {
        return compareBytes(files_->content(a.file), files_->content(b.file)) < 0;
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

qsizetype PlayIdentifier::earliestMatch(QByteArrayView play) const {
    auto contentOf = [this](const Candidate& c) { return QByteArrayView(files_->content(c.file)); };
    // Candidates that begin with the play sort at or after it and before anything whose
    // first bytes are greater, so they form one run.
    auto first = std::partition_point(sorted_.begin(), sorted_.end(), [&](const Candidate& c) {
        return compareBytes(contentOf(c), play) < 0;
    });
    auto last = std::partition_point(first, sorted_.end(), [&](const Candidate& c) {
        const QByteArrayView content = contentOf(c);
        return content.size() >= play.size() && content.first(play.size()) == play;
    });
    if (first == last) {
        return -1;
    }
    const size_t from = static_cast<size_t>(first - sorted_.begin());
    const size_t count = static_cast<size_t>(last - first);
    size_t levelIndex = 0;
    while ((size_t{2} << levelIndex) <= count) {
        ++levelIndex;
    }
    const std::vector<qsizetype>& level = minRank_[levelIndex];
    return std::min(level[from], level[from + count - (size_t{1} << levelIndex)]);
}

} // namespace huddlex
