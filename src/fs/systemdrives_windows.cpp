// Windows: the drives are the system's own and the system ignores letter case itself, so
// paths are used as they are written.
#include "fs/drivemap.h"
#include "fs/failure.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFileInfo>
#include <windows.h>

namespace huddlex::fs {

// No Wine prefix inside a Windows program: Wine, if any, is below the system.
bool DriveMap::mapsWinePrefix() {
    return false;
}

QString DriveMap::winePrefix() {
    return {};
}

QString DriveMap::defaultWinePrefix() {
    return {};
}

namespace detail {

std::optional<QString> systemDriveRoot(QChar lower) {
    const QString root = QString(lower.toUpper()) + QStringLiteral(":/");
    const DWORD drives = GetLogicalDrives();
    const int bit = lower.unicode() - 'a';
    if (bit < 0 || bit > 25 || !(drives & (1u << bit)))
        return std::nullopt;
    return root;
}

QString unknownDriveRoot(QChar lower) {
    return QString(lower.toUpper()) + QStringLiteral(":/");
}

std::optional<QString> onDiskName(const QString&, const QString& component) {
    return component;
}

QString storedName(const QString& hostFolder, const QString& name) {
    const std::wstring path =
        QDir::toNativeSeparators(hostFolder + QLatin1Char('/') + name).toStdWString();
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return name;
    FindClose(search);
    return QString::fromWCharArray(found.cFileName);
}

// Qt's file engine calls the system directly here, which leaves errno alone.
ErrorKind platformFailureKind(int) {
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrorKind::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return ErrorKind::AccessDenied;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ErrorKind::PathNotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return ErrorKind::AlreadyExists;
    default:
        return ErrorKind::Other;
    }
}

} // namespace detail
} // namespace huddlex::fs
