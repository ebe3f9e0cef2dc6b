#pragma once

#include "fs/filesystem.h"
#include "fs/folder.h"

#include <QString>

// The file operations on the host, each given where it acts as a host path and as messages
// name it. The public calls reach them from a Windows path (resolved by the case rules) or
// from a folder already resolved (fs::Folder), so both kinds of caller share one rule each.
namespace huddlex::fs::detail {

struct Place {
    QString host;  // where it is on the host
    QString shown; // the Windows path messages name
};

// A folder's entry: `name` as written, no resolving.
Place placeIn(const Folder& folder, const QString& name);

Result<QString> findAt(const Place& folder, const QString& pattern, Search kind);
Status copyAt(const Place& from, const Place& to);
Status removeAt(const Place& file);
DeleteReport removeMatchingAt(const Place& folder, const QString& pattern);
Status makeFolderAt(const Place& folder);
Result<QDateTime> modificationTimeAt(const Place& file);

} // namespace huddlex::fs::detail
