#pragma once

#include "fs/folder.h"
#include "settings/gamepaths.h"
#include "validate/candidatefiles.h"

#include <QList>
#include <QString>
#include <optional>

namespace huddlex {

struct LibraryFile {
    QString path;      // relative to the game folder, backslashes, names as on disk
    fs::Folder folder; // the folder that holds it
    QString name;      // as on disk
};

struct PlayLibrary {
    QList<LibraryFile> files;   // in library order
    qint64 unlistedFolders = 0; // folders below the main play folder that could not be read
};

// The play library: every regular file whose name ends in ".ply" (any letter case) below the
// main play folder, at any depth, hidden entries excepted, in library order (by path ignoring
// letter case, then by path as written). The main play folder is found as
// plan entries find it, through `files`, so a library file is reached by the same folder path
// as the candidate that names it. The capture folder is never part of it, even when the main
// play folder holds it (an empty play folder setting), or every unknown capture would match
// itself.
PlayLibrary ScanLibrary(CandidateFiles& files, const GamePaths& paths,
                        const std::optional<fs::Folder>& captureFolder);

} // namespace huddlex
