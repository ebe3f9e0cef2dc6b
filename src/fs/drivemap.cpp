#include "fs/drivemap.h"

#include "fs/systemdrives.h"

#include <QDir>
#include <QHash>

namespace huddlex::fs {

namespace {
QHash<QChar, QString>& overrides() {
    static QHash<QChar, QString> map;
    return map;
}

QString& chosenPrefix() {
    static QString prefix;
    return prefix;
}
} // namespace

void DriveMap::setWinePrefix(const QString& hostFolder) {
    chosenPrefix() = hostFolder.isEmpty() ? QString() : QDir::cleanPath(hostFolder);
}

QString DriveMap::chosenWinePrefix() {
    return chosenPrefix();
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
    return detail::systemDriveRoot(lower);
}

QStringList DriveMap::drives() {
    QStringList letters;
    for (char c = 'a'; c <= 'z'; ++c) {
        const QChar letter = QLatin1Char(c);
        if (overrides().contains(letter) || detail::systemDriveRoot(letter))
            letters << QString(letter) + QLatin1Char(':');
    }
    return letters;
}

} // namespace huddlex::fs
