#include "playlog/playlog.h"

#include "fs/filesystem.h"

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

namespace {

// Converts every line of `log` through `write`, in chunks.
fs::Status convertLines(const QByteArray& log, PlayLogNames& names, bool& missingValidation,
                        const fs::ChunkWriter& write) {
    QByteArray out;
    out.reserve(kChunkBytes + 1024);
    const char* const begin = log.constData();
    const char* const end = begin + log.size();
    const char* p = begin;
    qsizetype nextMarker = -1;
    while (p < end) {
        const char* cr =
            static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
        const char* lineEnd = cr ? cr : end;
        if (nextMarker < p - begin) {
            nextMarker = log.indexOf(Marker, p - begin);
            if (nextMarker < 0) {
                nextMarker = log.size();
            }
        }
        if (nextMarker >= lineEnd - begin) {
            // Most lines hold no marker: one search over the whole log finds the next one.
            out.append(p, lineEnd - p);
            out.append("\r\n", 2);
        } else if (!WritePlayLogLine(QByteArrayView(p, lineEnd - p), names, out)) {
            missingValidation = true;
            return fs::Error{fs::ErrorKind::Other, ValidateFirst};
        }
        p = lineEnd;
        if (cr) {
            ++p;
            if (p < end && *p == '\n') {
                ++p;
            }
        }
        if (out.size() >= kChunkBytes) {
            if (!write(out)) {
                return fs::Error{}; // the writer's own error is what gets reported
            }
            out.clear();
        }
    }
    if (!out.isEmpty() && !write(out)) {
        return fs::Error{};
    }
    return {};
}

} // namespace

PlayLogUpdate UpdatePlayLog(const GamePaths& paths, const std::optional<QStringList>& gPlayResults,
                            Notifier& notifier, qsizetype* namesUsed) {
    // The game folder already ends with a backslash; the doubled one reads as one.
    const QString playLog = paths.gameFolder() + QStringLiteral("\\play.log");
    const QString fbPlayLog = paths.gameFolder() + QStringLiteral("\\FBplay.log");

    fs::Result<QByteArray> log = fs::readFile(playLog);
    if (!log) {
        if (log.kind() == fs::ErrorKind::FileNotFound) {
            notifier.showMessage(PlayLogMissing);
            return PlayLogUpdate::NoPlayLog;
        }
        if (log.kind() == fs::ErrorKind::PathNotFound) {
            notifier.showMessage(
                QStringLiteral("The game folder %1 does not exist").arg(paths.gameFolder()));
        } else {
            notifier.showMessage(
                QStringLiteral("The play.log could not be read: %1").arg(log.message()));
        }
        return PlayLogUpdate::Failed;
    }

    if (log->isEmpty()) {
        // No line, so no FBplay.log: an earlier one goes.
        if (fs::existsExactly(fbPlayLog)) {
            if (fs::Status removed = fs::removeFile(fbPlayLog); !removed) {
                notifier.showMessage(
                    QStringLiteral("FBplay.log could not be deleted: %1").arg(removed.message()));
                return PlayLogUpdate::Failed;
            }
        }
        return PlayLogUpdate::Emptied;
    }

    PlayLogNames names(gPlayResults);
    bool missingValidation = false;
    const fs::Status written = fs::writeFileWith(fbPlayLog, [&](const fs::ChunkWriter& write) {
        return convertLines(*log, names, missingValidation, write);
    });
    if (missingValidation) {
        notifier.showMessage(ValidateFirst);
        return PlayLogUpdate::NotValidated;
    }
    if (!written) {
        notifier.showMessage(
            QStringLiteral("FBplay.log could not be written: %1").arg(written.message()));
        return PlayLogUpdate::Failed;
    }
    if (namesUsed)
        *namesUsed = names.used();
    return PlayLogUpdate::Written;
}

} // namespace huddlex
