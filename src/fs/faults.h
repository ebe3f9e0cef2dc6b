#pragma once

#include "fs/fserror.h"

#include <QString>
#include <functional>
#include <optional>

// Test seam: lets a test make file operations fail on purpose (disk full half-way through a
// copy, a read error, a refused delete) without touching a real disk's limits.
namespace huddlex::fs::faults {

enum class Op { Read, Write, Commit, Remove, MakeFolder, List };

// Called before each read, each written chunk, the final rename, each removal, each folder
// creation and each listing of a folder opened by fs::Folder, with the host path. Returning an
// error makes that step fail with it.
using Hook = std::function<std::optional<Error>(Op op, const QString& hostPath)>;

void setHook(Hook hook);
void clearHook();

// Used by the fs layer itself.
std::optional<Error> check(Op op, const QString& hostPath);

} // namespace huddlex::fs::faults
