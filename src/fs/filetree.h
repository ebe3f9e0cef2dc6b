#pragma once

#include "fs/filelookup.h"

#include <QList>
#include <QString>

namespace huddlex::fs {

struct TreeFile {
    QString relativePath; // below the base folder, backslash separated, names as on disk
    FoundFile file;
};

// Every regular file below `windowsBase` + `subfolder`, at any depth, whose name ends in
// `suffix` (letter case ignored). Hidden entries, and all that lies in hidden folders, are
// skipped; linked folders are not followed, so a loop of links ends; the folder that
// `exceptWindowsFolder` names is left out with all it holds. Paths are relative to
// `windowsBase`, beginning with `subfolder` as it is on disk. Unordered. Without `recursive`,
// only the files of the folder itself.
QList<TreeFile> listTree(const QString& windowsBase, const QString& subfolder,
                         const QString& suffix, const QString& exceptWindowsFolder = {},
                         bool recursive = true);

} // namespace huddlex::fs
