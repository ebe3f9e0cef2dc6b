#include "help/helppath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace huddlex::help {

QString helpFilePath(const QString& folder) {
    const QString trimmed = folder.trimmed();
    const QString name = QString::fromLatin1(helpFileName);
    if (trimmed.endsWith(QLatin1Char('\\')) || trimmed.endsWith(QLatin1Char('/')))
        return folder + name;
    const bool windowsStyle =
        folder.contains(QLatin1Char('\\')) && !folder.contains(QLatin1Char('/'));
    return folder + (windowsStyle ? QStringLiteral("\\") : QStringLiteral("/")) + name;
}

QStringList helpFileCandidates() {
    QStringList candidates{helpFilePath(QCoreApplication::applicationDirPath())};
    // The build names the data folder as seen from the program's (see CMakeLists.txt).
    const QString installed = helpFilePath(QDir::cleanPath(
        QCoreApplication::applicationDirPath() + QStringLiteral("/" HUDDLEX_DATA_DIR_FROM_BIN)));
    if (!candidates.contains(installed))
        candidates << installed;
    return candidates;
}

QString locateHelpFile() {
    const QStringList candidates = helpFileCandidates();
    // The help file is the program's own file, not a game path, so it is checked on
    // the host directly rather than through the game's drive mapping.
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return candidates.first();
}

} // namespace huddlex::help
