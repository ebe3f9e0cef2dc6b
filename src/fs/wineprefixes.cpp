#include "fs/wineprefixes.h"

#include "fs/systemdrives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace huddlex::fs {

namespace {

using Place = WinePrefix::Place;

const QString kVersions[] = {QStringLiteral("FBPro97"), QStringLiteral("FBPro98")};

bool isPrefix(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("/system.reg")).isFile() &&
           QFileInfo(folder + QStringLiteral("/drive_c")).isDir();
}

// `name` inside `folder` in whatever letter case it is stored, when it is a folder.
std::optional<QString> subfolder(const QString& folder, const QString& name) {
    const std::optional<QString> found = detail::onDiskName(folder, name);
    if (!found)
        return std::nullopt;
    const QString path = folder + QLatin1Char('/') + *found;
    return QFileInfo(path).isDir() ? std::optional<QString>(path) : std::nullopt;
}

// The folders one level below `base`, by name, letter case aside.
QStringList foldersIn(const QString& base) {
    QStringList names = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

} // namespace

WinePrefixPlaces userWinePrefixPlaces() {
    return {QDir::homePath(), qEnvironmentVariable("WINEPREFIX")};
}

QStringList gameVersionsIn(const QString& prefix) {
    // Drive C: as the drive mapping takes it: its dosdevices entry, else drive_c.
    QString driveC = prefix + QStringLiteral("/dosdevices/c:");
    if (!QFileInfo(driveC).isDir())
        driveC = prefix + QStringLiteral("/drive_c");
    QStringList versions;
    const std::optional<QString> sierra = subfolder(driveC, QStringLiteral("Sierra"));
    if (!sierra)
        return versions;
    for (const QString& version : kVersions) {
        if (subfolder(*sierra, version))
            versions << version;
    }
    return versions;
}

QList<WinePrefix> findWinePrefixes(const WinePrefixPlaces& places) {
    QList<QPair<Place, QString>> candidates;
    if (!places.environmentPrefix.isEmpty())
        candidates.append({Place::Environment, places.environmentPrefix});
    const QString home = places.home;
    candidates.append({Place::DotWine, home + QStringLiteral("/.wine")});
    const QPair<Place, QString> bases[] = {
        {Place::Bottles, QStringLiteral("/.local/share/bottles/bottles")},
        {Place::BottlesFlatpak,
         QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles")},
        {Place::Games, QStringLiteral("/Games")},
        {Place::PlayOnLinux, QStringLiteral("/.PlayOnLinux/wineprefix")},
    };
    for (const auto& [place, below] : bases) {
        for (const QString& name : foldersIn(home + below))
            candidates.append({place, home + below + QLatin1Char('/') + name});
    }

    QList<WinePrefix> found;
    QSet<QString> seen; // one entry per folder, however many places lead to it
    for (const auto& [place, path] : std::as_const(candidates)) {
        const QString clean = QDir::cleanPath(path);
        if (!isPrefix(clean))
            continue;
        const QString canonical = QFileInfo(clean).canonicalFilePath();
        if (seen.contains(canonical))
            continue;
        seen.insert(canonical);
        found.append({clean, place, gameVersionsIn(clean)});
    }
    std::stable_partition(found.begin(), found.end(),
                          [](const WinePrefix& prefix) { return prefix.hasGame(); });
    return found;
}

QList<WinePrefix> findWinePrefixes() {
    return findWinePrefixes(userWinePrefixPlaces());
}

QString withTilde(const QString& path, const QString& home) {
    const QString cleanHome = QDir::cleanPath(home);
    if (cleanHome.isEmpty() || cleanHome == QLatin1String("/"))
        return path;
    if (path == cleanHome)
        return QStringLiteral("~");
    if (path.startsWith(cleanHome + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(cleanHome.size());
    return path;
}

QString describe(const WinePrefix& prefix, const QString& home) {
    const QString name = QFileInfo(prefix.path).fileName();
    QString text;
    switch (prefix.place) {
    case Place::Bottles:
        text = name + QStringLiteral(" (Bottles)");
        break;
    case Place::BottlesFlatpak:
        text = name + QStringLiteral(" (Bottles, Flatpak)");
        break;
    case Place::PlayOnLinux:
        text = name + QStringLiteral(" (PlayOnLinux)");
        break;
    case Place::Environment:
    case Place::DotWine:
    case Place::Games:
    case Place::Chosen:
        text = withTilde(prefix.path, home);
        break;
    }
    if (prefix.hasGame()) {
        QStringList numbers;
        for (const QString& version : prefix.versions)
            numbers << version.right(2);
        text += QStringLiteral(" - FBPro ") + numbers.join(QStringLiteral(", "));
    }
    return text;
}

QString prefixForPickedFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    const QFileInfo info(clean);
    const QString name = info.fileName();
    if (name.compare(QLatin1String("drive_c"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("dosdevices"), Qt::CaseInsensitive) == 0) {
        const QString parent = info.path();
        if (isPrefix(parent))
            return parent;
    }
    return clean;
}

} // namespace huddlex::fs
