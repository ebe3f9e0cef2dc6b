#include "report/playlibrary.h"

#include "fs/filetree.h"

#include <algorithm>

namespace huddlex {

bool LibraryOrder(const QString& a, const QString& b) {
    if (const int folded = a.compare(b, Qt::CaseInsensitive))
        return folded < 0;
    return a.compare(b, Qt::CaseSensitive) < 0;
}

QList<LibraryFile> ScanLibrary(const GamePaths& paths) {
    const QList<fs::TreeFile> found = fs::listTree(paths.gameFolder(), paths.gFBPlayFolder,
                                                   QStringLiteral(".ply"), paths.captureFolder());
    QList<LibraryFile> library;
    library.reserve(found.size());
    for (const fs::TreeFile& file : found)
        library.append({file.relativePath, file.file});
    std::sort(library.begin(), library.end(), [](const LibraryFile& a, const LibraryFile& b) {
        return LibraryOrder(a.path, b.path);
    });
    return library;
}

} // namespace huddlex
