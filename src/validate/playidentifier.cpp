#include "validate/playidentifier.h"

#include "capture/capturedplays.h"
#include "validate/fbplan.h"
#include "validate/validationrun.h"

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
    : gameFolder_(paths.gameFolder()), captureFolder_(paths.captureFolder()),
      playFiles_(playFiles) {}

PlayIdentifier::PlayIdentifier(fs::Folder root, const std::optional<PlayPathList>& playFiles)
    : root_(std::move(root)), playFiles_(playFiles) {}

PlayIdentifier::PlayIdentifier(std::shared_ptr<CandidateFiles> files,
                               const std::optional<PlayPathList>& playFiles)
    : playFiles_(playFiles), files_(std::move(files)) {}

QString PlayIdentifier::IdentifyPlay(qint64 captureNumber) {
    return identifyFile(captureFolder_ + QLatin1Char('\\') +
                        CapturedPlays::canonicalName(captureNumber));
}

QString PlayIdentifier::identifyFile(const QString& windowsPath) {
    fs::Result<fs::InputFile> play = fs::openFile(windowsPath);
    if (!play) {
        return UnknownPlay;
    }
    return identify(play.value());
}

QList<CandidateFiles::Unreadable> PlayIdentifier::unreadableCandidates() const {
    return files_ ? files_->unreadable() : QList<CandidateFiles::Unreadable>();
}

QList<CandidateStamp> PlayIdentifier::candidateStamps() const {
    QList<CandidateStamp> stamps;
    stamps.reserve(qsizetype(named_.size()));
    for (const int id : named_) {
        stamps.append(
            {files_->folderOf(id), files_->nameOf(id), {files_->size(id), files_->modified(id)}});
    }
    return stamps;
}

QString PlayIdentifier::identify(fs::InputFile& play) {
    const qint64 n = play.size();
    // An empty play would be a prefix of every candidate: it identifies nothing.
    if (n == 0 || !playFiles_ || playFiles_->isEmpty()) {
        return UnknownPlay;
    }
    if (!indexed_) {
        buildIndex();
    }
    if (n > longest_) {
        return UnknownPlay; // no candidate is long enough: nothing to read
    }
    fs::Result<QByteArray> head =
        play.seek(0) ? play.read(std::min(n, kPrefixBytes)) : fs::Result<QByteArray>(fs::Error{});
    if (!head || head->size() != std::min(n, kPrefixBytes)) {
        return UnknownPlay;
    }
    const auto [from, count] = runStartingWith(*head);
    if (count == 0) {
        return UnknownPlay;
    }
    const qsizetype rank =
        n <= kPrefixBytes ? earliestIn(from, count) : earliestLongMatch(play, from, count);
    return rank < 0 ? UnknownPlay : playFiles_->entry(rank);
}

void PlayIdentifier::buildIndex() {
    indexed_ = true;
    if (!files_) {
        files_ = root_ ? std::make_shared<CandidateFiles>(*root_, kPrefixBytes)
                       : std::make_shared<CandidateFiles>(gameFolder_, kPrefixBytes);
    }
    std::vector<qsizetype> firstRank; // by file id; -1 for files these entries do not name
    named_.clear();
    playFiles_->forEach([&](qsizetype index, QByteArrayView path) {
        const int file = files_->resolve(path);
        if (file >= 0 && static_cast<size_t>(file) >= firstRank.size()) {
            firstRank.resize(static_cast<size_t>(file) + 1, -1);
        }
        if (file >= 0 && firstRank[static_cast<size_t>(file)] < 0) {
            firstRank[static_cast<size_t>(file)] = index;
            named_.push_back(file);
        }
        return true;
    });

    sorted_.clear();
    longest_ = 0;
    for (const int file : named_) {
        const qint64 size = files_->size(file);
        if (size > 0) { // an empty file matches no non-empty play
            sorted_.push_back({file, firstRank[static_cast<size_t>(file)]});
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

qsizetype PlayIdentifier::earliestLongMatch(fs::InputFile& play, size_t from, size_t count) {
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
            files_->markUnreadable(candidate.file, opened.error());
            continue;
        }
        std::optional<fs::PairedReader::Failure> failure;
        const fs::Result<bool> same =
            reader_.same(play, opened.value(), kPrefixBytes, play.size(), &failure);
        if (same && *same) {
            return candidate.rank;
        }
        if (!same && failure && !failure->first) {
            files_->markUnreadable(candidate.file, failure->error);
        } else if (!same) {
            return -1; // the captured play itself cannot be read on: it matches nothing
        }
    }
    return -1;
}

} // namespace huddlex
