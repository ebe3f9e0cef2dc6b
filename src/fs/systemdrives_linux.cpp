// Linux: the game's drives are the Wine prefix's, and names are matched ignoring letter case
// because the host file system does not.
#include "fs/drivemap.h"
#include "fs/failure.h"
#include "fs/namecase.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace huddlex::fs {

bool DriveMap::mapsWinePrefix() {
    return true;
}

QString DriveMap::winePrefix() {
    const QString chosen = chosenWinePrefix();
    return chosen.isEmpty() ? defaultWinePrefix() : chosen;
}

QString DriveMap::defaultWinePrefix() {
    const QString fromEnv = qEnvironmentVariable("WINEPREFIX");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    return QDir::homePath() + QStringLiteral("/.wine");
}

namespace detail {

namespace {
QString dosDevice(const QString& prefix, QChar lower) {
    return prefix + QStringLiteral("/dosdevices/") + lower + QLatin1Char(':');
}
} // namespace

std::optional<QString> systemDriveRoot(QChar lower) {
    const QString prefix = DriveMap::winePrefix();
    const QString device = dosDevice(prefix, lower);
    if (QFileInfo(device).isDir())
        return device;
    if (lower == QLatin1Char('c') && QFileInfo(prefix + QStringLiteral("/drive_c")).isDir())
        return prefix + QStringLiteral("/drive_c");
    return std::nullopt;
}

QString unknownDriveRoot(QChar lower) {
    // C: of a prefix Wine has not made yet would be its drive_c: the name users know.
    const QString prefix = DriveMap::winePrefix();
    return lower == QLatin1Char('c') ? prefix + QStringLiteral("/drive_c")
                                     : dosDevice(prefix, lower);
}

std::optional<QString> onDiskName(const QString& hostFolder, const QString& component) {
    // An exact match wins without listing the folder.
    if (QFileInfo::exists(hostFolder + QLatin1Char('/') + component))
        return component;
    return pickIgnoringCase(component, QDir(hostFolder)
                                           .entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot,
                                                      QDir::Unsorted));
}

QString storedName(const QString&, const QString& name) {
    return name;
}

ErrorKind platformFailureKind(int err) {
    return err == EDQUOT ? ErrorKind::DiskFull : ErrorKind::Other; // over quota: full for us
}

} // namespace detail
} // namespace huddlex::fs
