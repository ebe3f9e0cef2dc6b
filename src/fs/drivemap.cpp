#include "fs/drivemap.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace huddlex::fs {

namespace {
QHash<QChar, QString>& overrides() {
    static QHash<QChar, QString> map;
    return map;
}
} // namespace

QString DriveMap::winePrefix() {
    const QString fromEnv = qEnvironmentVariable("WINEPREFIX");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    return QDir::homePath() + QStringLiteral("/.wine");
}

void DriveMap::setOverride(QChar letter, const QString& hostFolder) {
    if (hostFolder.isEmpty())
        overrides().remove(letter.toLower());
    else
        overrides().insert(letter.toLower(), QDir::cleanPath(hostFolder));
}

std::optional<QString> DriveMap::root(QChar letter) {
    const QChar lower = letter.toLower();
    if (auto it = overrides().constFind(lower); it != overrides().constEnd())
        return *it;
#ifdef Q_OS_WIN
    return QString(letter.toUpper()) + QStringLiteral(":/");
#else
    const QString prefix = winePrefix();
    const QString device = prefix + QStringLiteral("/dosdevices/") + lower + QLatin1Char(':');
    if (QFileInfo(device).isDir())
        return device;
    if (lower == QLatin1Char('c') && QFileInfo(prefix + QStringLiteral("/drive_c")).isDir())
        return prefix + QStringLiteral("/drive_c");
    return std::nullopt;
#endif
}

QStringList DriveMap::drives() {
    QStringList letters;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        letters << drive.path().left(2).toLower();
#else
    for (char c = 'a'; c <= 'z'; ++c) {
        if (root(QLatin1Char(c)))
            letters << QString(QLatin1Char(c)) + QLatin1Char(':');
    }
#endif
    return letters;
}

} // namespace huddlex::fs
