#pragma once

#include "fs/folder.h"

#include <QString>

namespace huddlex::league {

// The pool as every game of a run sees it, read once: each folder is listed once, and each
// file's size and first kPrefixBytes are kept from its first opening, so the games compare
// with memory instead of reading the pool again. Bytes past the prefix (a play longer than
// 64 KiB) are read from the pool itself when asked for. Memory: the listings and the
// prefixes, whatever the number of games. Errors are kept as well: a file that could not be
// read says so every time, the same way.
//
// `inner` (a folder on disk or in an archive) becomes a folder named `path`: what messages and
// childPath() call it. One run, one thread.
fs::Folder CachedFolder(fs::Folder inner, const QString& path);

// The prefix kept of each file.
inline constexpr qint64 kPoolPrefixBytes = 64 * 1024;

} // namespace huddlex::league
