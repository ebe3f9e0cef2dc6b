#include "fs/inputfile.h"

#include <QFileInfo>

namespace huddlex::fs::detail {

// Sparse files are rare on the game's own platform: every byte is taken as data.
qint64 nextData(int, qint64 from, qint64) {
    return from;
}

// The hidden attribute, as Explorer and the game's own searches see it.
bool hiddenEntry(const QString& hostPath, const QString&) {
    return QFileInfo(hostPath).isHidden();
}

} // namespace huddlex::fs::detail
