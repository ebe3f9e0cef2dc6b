#pragma once

#include "fs/filelookup.h"
#include "settings/gamepaths.h"

#include <QList>
#include <QString>

namespace huddlex {

struct LibraryFile {
    QString path; // relative to the game folder, backslashes, names as on disk
    fs::FoundFile file;
};

// Library order: by path ignoring letter case, then by path as written.
bool LibraryOrder(const QString& a, const QString& b);

// The play library: every regular file whose name ends in ".ply" (any letter case) below the
// main play folder, at any depth, hidden entries excepted, in library order. The capture
// folder is never part of it, even when the main play folder holds it (an empty play folder
// setting), or every unknown capture would match itself.
QList<LibraryFile> ScanLibrary(const GamePaths& paths);

} // namespace huddlex
