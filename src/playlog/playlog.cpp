#include "playlog/playlog.h"

#include "fs/filesystem.h"
#include "fs/folder.h"
#include "fs/inputfile.h"

#include <QByteArrayMatcher>
#include <cstring>

namespace huddlex {

namespace {

const QByteArray Marker = QByteArrayLiteral("FBPlay~");
constexpr qsizetype kChunkBytes = 1 << 16;

} // namespace

QString PlayNameFromPath(const QString& path) {
    const qsizetype after = path.lastIndexOf(QLatin1Char('\\')) + 1;
    return path.mid(after, std::max<qsizetype>(path.size() - after - 4, 0));
}

PlayLogNames::PlayLogNames(const std::optional<QStringList>& gPlayResults)
    : results_(gPlayResults) {}

std::optional<QByteArray> PlayLogNames::takeNext() {
    if (!results_ || counter_ >= results_->size()) {
        return std::nullopt;
    }
    // Outcomes hold the plan's bytes one character each, so Latin-1 gives them back exactly.
    return PlayNameFromPath(results_->at(counter_++)).toLatin1();
}

bool WritePlayLogLine(QByteArrayView line, PlayLogNames& names, QByteArray& out) {
    static const QByteArrayMatcher matcher(Marker);
    const qsizetype at = matcher.indexIn(line.data(), line.size());
    if (at < 0) {
        out.append(line.data(), line.size());
    } else if (!names.validated()) {
        return false;
    } else if (std::optional<QByteArray> name = names.takeNext()) {
        const qsizetype rest = std::min(at + Marker.size() + 1, line.size());
        out.append(line.data(), at);
        out.append(*name);
        out.append(' ');
        out.append(line.data() + rest, line.size() - rest);
    } else {
        out.append(line.data(), line.size());
    }
    out.append("\r\n", 2);
    return true;
}

PlayLogConverter::PlayLogConverter(PlayLogNames& names)
    : names_(names), searching_(searchesLine()) {}

bool PlayLogConverter::replaceMarker(QByteArrayView segment, qsizetype at, QByteArray& out) {
    if (!names_.validated()) {
        return false;
    }
    const std::optional<QByteArray> name = names_.takeNext();
    out.append(segment.data(), at);
    out.append(*name);
    out.append(' ');
    // The marker gives way with the byte after it, which may lie in the next chunk.
    const qsizetype rest = at + Marker.size() + 1;
    if (rest <= segment.size()) {
        out.append(segment.data() + rest, segment.size() - rest);
    } else {
        dropNext_ = true;
    }
    searching_ = false;
    return true;
}

bool PlayLogConverter::feed(QByteArrayView chunk, QByteArray& out) {
    static const QByteArrayMatcher matcher(Marker);
    const char* const begin = chunk.data();
    const qsizetype size = chunk.size();
    qsizetype p = 0;
    qsizetype nextMarker = -1; // in this chunk, at or after p; size when there is none
    while (p < size) {
        if (afterCr_) {
            afterCr_ = false;
            if (begin[p] == '\n') {
                ++p;
                continue;
            }
        }
        if (dropNext_) {
            dropNext_ = false;
            if (begin[p] != '\r') {
                ++p;
                continue;
            }
        }
        const char* cr = static_cast<const char*>(std::memchr(begin + p, '\r', size_t(size - p)));
        const qsizetype end = cr ? cr - begin : size;
        QByteArrayView segment(begin + p, end - p);
        inLine_ = inLine_ || !segment.isEmpty();
        if (!searching_) {
            out.append(segment.data(), segment.size());
        } else if (carry_.isEmpty()) {
            // Most lines hold no marker: one search over the chunk finds the next one.
            if (nextMarker < p) {
                nextMarker = matcher.indexIn(begin, size, p);
                nextMarker = nextMarker < 0 ? size : nextMarker;
            }
            if (nextMarker + Marker.size() <= end) {
                if (!replaceMarker(segment, nextMarker - p, out)) {
                    return false;
                }
            } else if (cr) {
                out.append(segment.data(), segment.size());
            } else {
                const qsizetype held = std::min<qsizetype>(segment.size(), Marker.size() - 1);
                out.append(segment.data(), segment.size() - held);
                carry_.append(segment.last(held));
            }
        } else {
            // A marker may straddle the chunks: search the held bytes and what follows them.
            QByteArray joined = carry_ + segment.toByteArray();
            carry_.clear();
            const qsizetype at = matcher.indexIn(joined);
            if (at >= 0) {
                if (!replaceMarker(joined, at, out)) {
                    return false;
                }
            } else if (cr) {
                out.append(joined);
            } else {
                const qsizetype held = std::min<qsizetype>(joined.size(), Marker.size() - 1);
                out.append(joined.constData(), joined.size() - held);
                carry_ = joined.last(held);
            }
        }
        if (!cr) {
            break;
        }
        out.append(carry_);
        carry_.clear();
        out.append("\r\n", 2);
        inLine_ = false;
        afterCr_ = true;
        dropNext_ = false;
        searching_ = searchesLine();
        p = end + 1;
    }
    return true;
}

void PlayLogConverter::finish(QByteArray& out) {
    if (inLine_) {
        out.append(carry_);
        out.append("\r\n", 2);
    }
    carry_.clear();
    inLine_ = false;
}

namespace {

enum class Step { Read, Write, Validation };

// Feeds play.log through the converter into `write`, a chunk at a time. `failed` tells which
// side a failure came from.
fs::Status convertLog(fs::InputFile& log, PlayLogNames& names, Step& failed,
                      const fs::ChunkWriter& write) {
    PlayLogConverter converter(names);
    QByteArray out;
    out.reserve(2 * kChunkBytes);
    for (qint64 done = 0; done < log.size();) {
        fs::Result<QByteArray> chunk = log.read(kChunkBytes);
        if (!chunk || chunk->isEmpty()) {
            failed = Step::Read;
            return chunk ? fs::Error{fs::ErrorKind::Other,
                                     QStringLiteral("play.log became shorter while it was read")}
                         : chunk.error();
        }
        done += chunk->size();
        if (!converter.feed(*chunk, out)) {
            failed = Step::Validation;
            return fs::Error{fs::ErrorKind::Other, ValidateFirst};
        }
        if (out.size() >= kChunkBytes) {
            if (!write(out)) {
                failed = Step::Write;
                return fs::Error{}; // the writer's own error is what gets reported
            }
            out.clear();
        }
    }
    converter.finish(out);
    if (!out.isEmpty() && !write(out)) {
        failed = Step::Write;
        return fs::Error{};
    }
    return {};
}

} // namespace

PlayLogUpdate UpdatePlayLog(const GamePaths& paths, const std::optional<QStringList>& gPlayResults,
                            Notifier& notifier, qsizetype* namesUsed) {
    // The game folder already ends with a backslash; the doubled one reads as one.
    const QString gameFolder = paths.gameFolder();
    const QString playLog = gameFolder + QStringLiteral("\\play.log");

    fs::Result<fs::InputFile> log = fs::openFile(playLog);
    if (!log) {
        if (log.kind() == fs::ErrorKind::FileNotFound) {
            notifier.showMessage(PlayLogMissing);
            return PlayLogUpdate::NoPlayLog;
        }
        if (log.kind() == fs::ErrorKind::PathNotFound) {
            notifier.showMessage(
                QStringLiteral("The game folder %1 does not exist").arg(fs::shownPath(gameFolder)));
        } else {
            notifier.showMessage(
                QStringLiteral("The play.log could not be read: %1").arg(log.message()));
        }
        return PlayLogUpdate::Failed;
    }

    // One FBplay.log whatever its letter case, as on Windows; a game folder that cannot be
    // listed might hide one in another case, so nothing is written there.
    const QString logName = QStringLiteral("FBplay.log");
    fs::Result<fs::Folder> folder = fs::Folder::open(gameFolder);
    const std::optional<fs::Error> unlisted =
        folder ? folder->listError() : std::optional<fs::Error>(folder.error());
    if (unlisted) {
        notifier.showMessage(
            QStringLiteral("FBplay.log could not be written: %1").arg(unlisted->message));
        return PlayLogUpdate::Failed;
    }
    const std::optional<QString> existing = folder->lookup(logName);
    const QString fbPlayLog = gameFolder + QStringLiteral("\\") + existing.value_or(logName);

    if (log->size() == 0) {
        // No line, so no FBplay.log: an earlier one goes.
        if (existing) {
            if (const fs::Status removed = fs::removeFile(fbPlayLog); !removed) {
                notifier.showMessage(
                    QStringLiteral("FBplay.log could not be deleted: %1").arg(removed.message()));
                return PlayLogUpdate::Failed;
            }
        }
        return PlayLogUpdate::Emptied;
    }

    PlayLogNames names(gPlayResults);
    Step failed = Step::Write;
    const fs::Status written = fs::writeFileWith(fbPlayLog, [&](const fs::ChunkWriter& write) {
        return convertLog(log.value(), names, failed, write);
    });
    if (written) {
        if (namesUsed)
            *namesUsed = names.used();
        return PlayLogUpdate::Written;
    }
    switch (failed) {
    case Step::Validation:
        notifier.showMessage(ValidateFirst);
        return PlayLogUpdate::NotValidated;
    case Step::Read:
        notifier.showMessage(
            QStringLiteral("The play.log could not be read: %1").arg(written.message()));
        return PlayLogUpdate::Failed;
    case Step::Write:
        break;
    }
    notifier.showMessage(
        QStringLiteral("FBplay.log could not be written: %1").arg(written.message()));
    return PlayLogUpdate::Failed;
}

} // namespace huddlex
