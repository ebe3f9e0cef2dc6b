#pragma once

#include "fs/fserror.h"

#include <QString>

namespace huddlex::fs::detail {

// Builds an Error of `kind` whose message reads "<what> "<path>": <reason>", the path as
// messages show it (shownPath).
Error makeError(ErrorKind kind, const QString& what, const QString& path);

// Classifies a failure to reach `hostPath`: PathNotFound when a folder on the way is
// missing (or is not a folder), FileNotFound when only the last entry is missing.
ErrorKind missingKind(const QString& hostPath);

// Maps the errno of a failed file operation to a kind; what errno leaves open, the
// platform's own last error decides.
ErrorKind kindFromErrno(int err);

} // namespace huddlex::fs::detail
