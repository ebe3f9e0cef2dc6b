#include "fs/inputfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace huddlex::fs::detail {

// Sparse files are rare on the game's own platform: every byte is taken as data.
qint64 nextData(int, qint64 from, qint64) {
    return from;
}

// Qt's file engine keeps the system's handle to itself: the stamp comes through Qt.
FileStamp openedFileStamp(QFile& file) {
    return {file.size(), file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch()};
}

std::optional<FileStamp> hostFileStamp(const QString& hostPath) {
    const QFileInfo info(hostPath);
    if (!info.isFile())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

// The hidden attribute, as Explorer and the game's own searches see it.
bool hiddenEntry(const QString& hostPath, const QString&) {
    return QFileInfo(hostPath).isHidden();
}

} // namespace huddlex::fs::detail
