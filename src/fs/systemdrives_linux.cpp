// Linux: the game's drives are the Wine prefix's, and names are matched ignoring letter case
// because the host file system does not.
#include "fs/drivemap.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFileInfo>

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
    // An exact match wins without listing the folder, else the first match in code-unit
    // order (as fs::Folder picks it, whatever the locale).
    if (QFileInfo::exists(hostFolder + QLatin1Char('/') + component))
        return component;
    const QStringList names =
        QDir(hostFolder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Unsorted);
    std::optional<QString> first;
    for (const QString& name : names) {
        if (name.compare(component, Qt::CaseInsensitive) == 0 && (!first || name < *first))
            first = name;
    }
    return first;
}

QString storedName(const QString&, const QString& name) {
    return name;
}

ErrorKind lastSystemFailureKind() {
    return ErrorKind::Other;
}

} // namespace detail
} // namespace huddlex::fs
