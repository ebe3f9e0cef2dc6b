#pragma once

#include <QChar>
#include <QString>
#include <optional>

// What differs between the platforms below the fs layer, one implementation per platform
// (systemdrives_linux.cpp, systemdrives_windows.cpp), chosen by the build.
namespace huddlex::fs::detail {

// Host folder of drive `lower` as the machine itself has it (pins aside), or nothing.
std::optional<QString> systemDriveRoot(QChar lower);

// Where a path on a drive the machine does not have resolves: somewhere that does not
// exist, so every operation on it reports the path as not found.
QString unknownDriveRoot(QChar lower);

// The on-disk spelling of `component` inside `hostFolder` when the host compares names by
// letter case and Windows would not; nothing when no entry matches.
std::optional<QString> onDiskName(const QString& hostFolder, const QString& component);

// The name an existing entry `name` of `hostFolder` is stored under: the same on Linux, where
// it exists only in that spelling; on Windows the one the file system keeps, whatever the
// letter case `name` was written in.
QString storedName(const QString& hostFolder, const QString& name);

} // namespace huddlex::fs::detail
