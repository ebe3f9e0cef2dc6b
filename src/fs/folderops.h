#pragma once

#include "fs/filesystem.h"
#include "fs/folder.h"

// The file operations inside a folder on disk already resolved (fs::Folder): the names given
// are used as written beside the folder's host path, so a caller that resolved the folder once
// (the game folder in use) resolves nothing again, however often it asks. They look at the
// disk as it is now, not at the folder's listing.
namespace huddlex::fs {

// On-disk names of the ordinary files matching `pattern`, hidden ones left out, in name order.
Result<QStringList> listFiles(const Folder& folder, const QString& pattern);
Result<QString> find(const Folder& folder, const QString& pattern, Search kind = Search::Files);
// The existence test of the game's files: a search for `name` returns exactly `name`.
bool existsExactly(const Folder& folder, const QString& name, Search kind = Search::Files);
Result<QDateTime> modificationTime(const Folder& folder, const QString& name);
Status copyFile(const Folder& from, const QString& fromName, const Folder& to,
                const QString& toName);
Status removeFile(const Folder& folder, const QString& name);
DeleteReport removeMatching(const Folder& folder, const QString& pattern);
Status makeFolder(const Folder& parent, const QString& name);

} // namespace huddlex::fs
