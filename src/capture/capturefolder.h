#pragma once

#include "fs/filesystem.h"
#include "settings/gamepaths.h"

namespace huddlex {

// Makes sure the game folder holds "Xferbox": when a search finds no entry of that name in
// any letter case, the one last level is created (the game folder itself must exist).
fs::Status EnsureCaptureFolder(const GamePaths& paths);

// True when the capture folder holds at least one "*.ply" file: plays of an earlier game.
bool HasLeftoverPlays(const GamePaths& paths);

// Deletes every file of the capture folder ("*.*"); folders inside are left alone.
fs::DeleteReport DeleteCapturedFiles(const GamePaths& paths);

// One message for what a deletion could not do; empty when it did everything.
QString describeDeleteProblems(const fs::DeleteReport& report);

} // namespace huddlex
