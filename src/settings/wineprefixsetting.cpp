#include "settings/wineprefixsetting.h"

#include "fs/drivemap.h"
#include "fs/filesystem.h"

#include <QDir>

namespace huddlex {

namespace {

bool onDriveC(const GamePaths& paths) {
    return paths.gFBDrive.compare(QLatin1String("C:"), Qt::CaseInsensitive) == 0;
}

// The prefix's short name without its versions: the note says which version it uses.
QString placeOf(fs::WinePrefix prefix) {
    prefix.versions.clear();
    return fs::describe(prefix, QDir::homePath());
}

PrefixStartup useTheOne(SettingsStore& store, GamePaths& paths, const fs::WinePrefix& prefix) {
    SettingsStore::WriteFailure failure = store.write(keys::WinePrefix, prefix.path);
    fs::DriveMap::setWinePrefix(prefix.path);
    if (prefix.versions.size() == 1) {
        paths.gFBVer = versionFolder(prefix.versions.first());
        if (SettingsStore::WriteFailure version = store.write(keys::FBVer, paths.gFBVer))
            failure = version;
    }
    const QString version = versionName(paths.gFBVer);
    QString details = QStringLiteral("%1 was found in the Wine prefix\n%2,\nthe only one that "
                                     "holds the game, and is used from now on.\nView, Settings "
                                     "shows it and the other prefixes.")
                          .arg(version, QDir::toNativeSeparators(prefix.path));
    if (failure)
        details += QStringLiteral("\nIt is used for this session only: %1").arg(*failure);
    return {PrefixStartup::Outcome::ChoseOne, QStringLiteral("Using %1").arg(placeOf(prefix)),
            details};
}

PrefixStartup countSeveral(const QList<fs::WinePrefix>& withGame) {
    QStringList places;
    for (const fs::WinePrefix& prefix : withGame)
        places << fs::describe(prefix, QDir::homePath());
    const QString count = QString::number(withGame.size());
    return {PrefixStartup::Outcome::FoundSeveral,
            QStringLiteral("FBPro in %1 prefixes: Settings").arg(count),
            QStringLiteral("FBPro was found in %1 Wine prefixes:\n%2\nChoose the one you play "
                           "in under View, Settings, Wine prefix.")
                .arg(count, places.join(QLatin1Char('\n')))};
}

} // namespace

QString versionName(const QString& fbVer) {
    if (fbVer == FBPro97Folder)
        return QStringLiteral("FBPro 97");
    if (fbVer == FBPro98Folder)
        return QStringLiteral("FBPro 98");
    return QStringLiteral("the game");
}

QString versionFolder(const QString& versionName) {
    return QStringLiteral("\\Sierra\\") + versionName + QLatin1Char('\\');
}

PrefixStartup settleWinePrefix(SettingsStore& store, GamePaths& paths, const QString& sessionPrefix,
                               const PrefixFinder& find) {
    if (!sessionPrefix.isEmpty()) {
        fs::DriveMap::setWinePrefix(sessionPrefix);
        return {};
    }
    fs::DriveMap::setWinePrefix(store.read(keys::WinePrefix));
    // Only a first start looks around, and only for the drive C: front ends install to: a
    // stored prefix (even an empty one) or another drive was chosen by the user.
    if (!fs::DriveMap::mapsWinePrefix() || store.contains(keys::WinePrefix) || !onDriveC(paths) ||
        fs::isFolder(paths.gameFolder()))
        return {};
    QList<fs::WinePrefix> withGame = find ? find() : fs::findWinePrefixes();
    withGame.erase(std::remove_if(withGame.begin(), withGame.end(),
                                  [](const fs::WinePrefix& prefix) { return !prefix.hasGame(); }),
                   withGame.end());
    if (withGame.size() == 1)
        return useTheOne(store, paths, withGame.first());
    if (withGame.size() > 1)
        return countSeveral(withGame);
    return {};
}

} // namespace huddlex
