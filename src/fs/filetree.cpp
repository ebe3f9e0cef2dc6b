#include "fs/filetree.h"

#include "fs/filesystem.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex::fs {

namespace {

struct Walk {
    QString suffix;
    QString exceptHost;
    bool recursive = true;
    QList<TreeFile> found;

    void folder(const QString& hostFolder, const QString& relative) {
        // Without QDir::Hidden, dot-files and dot-folders are not listed at all.
        const QFileInfoList entries =
            QDir(hostFolder)
                .entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QFileInfo& entry : entries) {
            const QString name = entry.fileName();
            const QString path = relative.isEmpty() ? name : relative + QLatin1Char('\\') + name;
            if (entry.isDir()) {
                const QString host = entry.filePath();
                if (recursive && !entry.isSymLink() && host != exceptHost)
                    folder(host, path);
            } else if (entry.isFile() && name.endsWith(suffix, Qt::CaseInsensitive)) {
                found.append({path, {entry.filePath(), entry.size()}});
            }
        }
    }
};

} // namespace

QList<TreeFile> listTree(const QString& windowsBase, const QString& subfolder,
                         const QString& suffix, const QString& exceptWindowsFolder,
                         bool recursive) {
    QString base = windowsBase;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('\\')))
        base += QLatin1Char('\\');
    const QString baseHost = toHostPath(base);
    const QString startHost = toHostPath(base + subfolder);
    if (!QFileInfo(startHost).isDir())
        return {};
    // The start's own names as on disk, relative to the base.
    QString relative = QDir(baseHost).relativeFilePath(startHost);
    if (relative == QLatin1String("."))
        relative.clear();
    relative.replace(QLatin1Char('/'), QLatin1Char('\\'));

    Walk walk{suffix,
              exceptWindowsFolder.isEmpty() ? QString() : toHostPath(exceptWindowsFolder),
              recursive,
              {}};
    walk.folder(startHost, relative);
    return walk.found;
}

} // namespace huddlex::fs
