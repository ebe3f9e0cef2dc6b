#include "fs/drivemap.h"
#include "fs/filesystem.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex::fs {

namespace {

QString hostRootFor(const QString& windowsPath, qsizetype* rest) {
    if (windowsPath.size() >= 2 && windowsPath.at(1) == QLatin1Char(':') &&
        windowsPath.at(0).isLetter()) {
        *rest = 2;
        const QChar letter = windowsPath.at(0);
        if (auto root = DriveMap::root(letter))
            return *root;
        return detail::unknownDriveRoot(letter.toLower());
    }
    *rest = 0;
    return windowsPath.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QDir::currentPath();
}

} // namespace

QString toHostPath(const QString& windowsPath) {
    qsizetype rest = 0;
    QString host = hostRootFor(windowsPath, &rest);
    QString tail = windowsPath.mid(rest);
    tail.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QStringList parts = tail.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    // Most paths exist as written: one stat settles them without a look at each folder.
    if (!parts.contains(QLatin1String(".")) && !parts.contains(QLatin1String(".."))) {
        QString asWritten = host;
        for (const QString& part : parts) {
            if (!asWritten.endsWith(QLatin1Char('/')))
                asWritten += QLatin1Char('/');
            asWritten += part;
        }
        if (QFileInfo::exists(asWritten))
            return asWritten;
    }
    bool resolving = true;
    // As on Windows, ".." at a drive's root stays there: no path leaves its drive (nor the
    // folder a drive letter is pinned to).
    const qsizetype floor = rest > 0 ? host.size() : 1;
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (host.size() > floor)
                host.truncate(std::max(host.lastIndexOf(QLatin1Char('/')), floor));
            continue;
        }
        QString name = part;
        if (resolving) {
            if (auto found = detail::onDiskName(host, part))
                name = *found;
            else
                resolving = false; // what follows a missing component is kept as written
        }
        if (!host.endsWith(QLatin1Char('/')))
            host += QLatin1Char('/');
        host += name;
    }
    return host;
}

QString fileNameOf(const QString& windowsPath) {
    const qsizetype cut = std::max(windowsPath.lastIndexOf(QLatin1Char('\\')),
                                   windowsPath.lastIndexOf(QLatin1Char('/')));
    if (cut >= 0)
        return windowsPath.mid(cut + 1);
    if (windowsPath.size() >= 2 && windowsPath.at(1) == QLatin1Char(':'))
        return windowsPath.mid(2);
    return windowsPath;
}

} // namespace huddlex::fs
