#include "fs/failure.h"

#include "fs/filesystem.h"

#include <QFileInfo>
#include <cerrno>
#include <filesystem>

namespace huddlex::fs::detail {

ErrorKind missingKind(const QString& hostPath) {
    const QFileInfo parent(QFileInfo(hostPath).absolutePath());
    return parent.isDir() ? ErrorKind::FileNotFound : ErrorKind::PathNotFound;
}

ErrorKind kindFromErrno(int err) {
    switch (err) {
    case ENOSPC:
        return ErrorKind::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorKind::AccessDenied;
    case ENOENT:
    case ENOTDIR:
        return ErrorKind::PathNotFound;
    case EEXIST:
        return ErrorKind::AlreadyExists;
    default:
        return platformFailureKind(err);
    }
}

ErrorKind kindFromCode(const std::error_code& ec) {
    const std::error_condition why = ec.default_error_condition();
    if (why == std::errc::permission_denied || why == std::errc::operation_not_permitted ||
        why == std::errc::read_only_file_system)
        return ErrorKind::AccessDenied;
    if (why == std::errc::no_such_file_or_directory || why == std::errc::not_a_directory)
        return ErrorKind::PathNotFound;
    if (why == std::errc::no_space_on_device)
        return ErrorKind::DiskFull;
    if (why == std::errc::file_exists)
        return ErrorKind::AlreadyExists;
    if (why == std::errc::is_a_directory || why == std::errc::not_supported)
        return ErrorKind::NotRegularFile;
    return ErrorKind::Other;
}

HostStat statHost(const QString& hostPath) {
    std::error_code ec;
    const auto status =
        std::filesystem::status(std::filesystem::path(hostPath.toStdU16String()), ec);
    HostStat result;
    if (ec) {
        const bool missing = ec.default_error_condition() == std::errc::no_such_file_or_directory;
        result.error = missing ? missingKind(hostPath) : kindFromCode(ec);
        return result;
    }
    result.isFile = std::filesystem::is_regular_file(status);
    result.isFolder = std::filesystem::is_directory(status);
    return result;
}

Error makeError(ErrorKind kind, const QString& what, const QString& path) {
    return makeShownError(kind, what, shownPath(path));
}

Error makeShownError(ErrorKind kind, const QString& what, const QString& shown) {
    QString reason;
    switch (kind) {
    case ErrorKind::PathNotFound:
        reason = QStringLiteral("the folder does not exist");
        break;
    case ErrorKind::FileNotFound:
        reason = QStringLiteral("the file does not exist");
        break;
    case ErrorKind::AlreadyExists:
        reason = QStringLiteral("it already exists");
        break;
    case ErrorKind::NotRegularFile:
        reason = QStringLiteral("it is not an ordinary file");
        break;
    case ErrorKind::AccessDenied:
        reason = QStringLiteral("access denied");
        break;
    case ErrorKind::DiskFull:
        reason = QStringLiteral("the disk is full");
        break;
    case ErrorKind::Other:
        reason = QStringLiteral("input/output error");
        break;
    }
    return Error{kind, QStringLiteral("%1 \"%2\": %3").arg(what, shown, reason)};
}

} // namespace huddlex::fs::detail
