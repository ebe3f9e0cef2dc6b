#pragma once

#include "fs/fserror.h"

#include <QString>
#include <optional>
#include <system_error>

// How a failure on the host becomes an ErrorKind: every errno, std::error_code and stat result
// is classified here, so the kinds mean the same wherever they come from.
namespace huddlex::fs::detail {

// Builds an Error of `kind` whose message reads "<what> "<path>": <reason>", the path as
// messages show it (shownPath).
Error makeError(ErrorKind kind, const QString& what, const QString& path);
// The same with the path already as messages name it (a host path the user gave).
Error makeShownError(ErrorKind kind, const QString& what, const QString& shown);
// One of the two, as `naming` says.
inline Error makeError(Naming naming, ErrorKind kind, const QString& what, const QString& path) {
    return naming == Naming::AsGiven ? makeShownError(kind, what, path)
                                     : makeError(kind, what, path);
}

// Classifies a failure to reach `hostPath`: PathNotFound when a folder on the way is
// missing (or is not a folder), FileNotFound when only the last entry is missing.
ErrorKind missingKind(const QString& hostPath);

// Maps the errno of a failed file operation to a kind; what errno leaves open, the
// platform decides (platformFailureKind).
ErrorKind kindFromErrno(int err);

// The same for a std::filesystem error. A missing entry is PathNotFound: callers that can tell
// a missing file from a missing folder ask missingKind.
ErrorKind kindFromCode(const std::error_code& ec);

// What stat says of `hostPath` when it names nothing usable: not found (which kind), access
// denied, ...; nothing when it exists. `isFolder`/`isFile` tell what it is.
struct HostStat {
    std::optional<ErrorKind> error;
    bool isFile = false;
    bool isFolder = false;
};
HostStat statHost(const QString& hostPath);

// Errnos only one platform has, and the system's own last error where errno is silent; one
// file per platform.
ErrorKind platformFailureKind(int err);

} // namespace huddlex::fs::detail
