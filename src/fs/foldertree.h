#pragma once

#include "fs/folder.h"

#include <QList>
#include <QString>
#include <functional>

namespace huddlex::fs {

// A regular file found below a folder.
struct TreeFile {
    Folder folder;        // the folder that holds it, to open it without resolving it again
    QString name;         // as on disk
    QString relativePath; // below the start, backslash separated, names as on disk
};

struct Tree {
    QList<TreeFile> files;
    qint64 unlistedFolders = 0; // folders that could not be listed: what they hold is missing
};

struct TreeWalk {
    // Folders left out with all they hold.
    std::function<bool(const Folder&)> skip;
    // Opens a subfolder; Folder::subfolder unless a caller has it listed already.
    std::function<Result<Folder>(const Folder& parent, const QString& onDiskName)> open;
};

// Every regular file below `start`, at any depth, whose name ends in `suffix` (letter case
// ignored), in no set order. Each folder is listed once. Hidden entries are left out with all
// they hold, and linked folders are not followed, so a loop of links ends.
Tree listTree(const Folder& start, const QString& suffix, const TreeWalk& walk = {});

} // namespace huddlex::fs
