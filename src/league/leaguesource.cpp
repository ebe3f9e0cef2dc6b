#include "league/leaguesource.h"

#include <QDir>
#include <QFileInfo>
#include <deque>

namespace huddlex::league {

namespace {

const QString PlanName = QStringLiteral("XOff1.pln");

// Folders a search looks at before it gives up: far more than any game folder holds.
constexpr int kMaxFoldersSearched = 10'000;

bool holdsPlan(const fs::Folder& folder) {
    const std::optional<QString> name = folder.lookup(PlanName);
    return name && folder.entryKind(*name) == fs::Folder::Kind::File;
}

// Subfolders worth a look: not hidden, not reached through a link.
QStringList subfolders(const fs::Folder& folder) {
    QStringList names;
    for (const fs::Folder::Entry& entry : folder.entries()) {
        if (entry.kind == fs::Folder::Kind::Folder && !entry.link && !folder.isHidden(entry.name))
            names << entry.name;
    }
    return names;
}

// A capture folder, or a game folder whose capture folder lies right below it.
bool isGame(const fs::Folder& folder) {
    if (holdsPlan(folder))
        return true;
    for (const QString& name : subfolders(folder)) {
        fs::Result<fs::Folder> below = folder.subfolder(name);
        if (below && holdsPlan(*below))
            return true;
    }
    return false;
}

QString quotedList(const QStringList& names) {
    return QLatin1Char('"') + names.join(QStringLiteral("\", \"")) + QLatin1Char('"');
}

} // namespace

OpenedSource OpenSource(const QString& hostPath) {
    OpenedSource source;
    const QString shown = QDir::toNativeSeparators(hostPath);
    const QFileInfo info(hostPath);
    if (info.isDir()) {
        fs::Result<fs::Folder> folder = fs::Folder::openHost(hostPath);
        if (!folder) {
            source.error = folder.message();
        } else if (folder->listError()) {
            source.error = folder->listError()->message;
        } else {
            source.root = std::move(folder).value();
        }
        return source;
    }
    fs::Result<archive::ZipArchive> zip = archive::ZipArchive::open(hostPath);
    if (!zip) {
        source.error = zip.message();
        return source;
    }
    source.archive = std::move(zip).value();
    source.root = source.archive->root();
    return source;
}

QList<GameArgument> ExpandGames(const QStringList& paths) {
    QList<GameArgument> games;
    for (const QString& path : paths) {
        fs::Result<fs::Folder> folder = QFileInfo(path).isDir()
                                            ? fs::Folder::openHost(path)
                                            : fs::Result<fs::Folder>(fs::Error{});
        if (!folder || folder->listError() || isGame(*folder)) {
            games.append({path, path}); // a game, or what it is not says so when it is checked
            continue;
        }
        QString base = path;
        while (base.size() > 1 &&
               (base.endsWith(QLatin1Char('/')) || base.endsWith(QDir::separator())))
            base.chop(1);
        QList<GameArgument> found;
        for (const fs::Folder::Entry& entry : folder->entries()) {
            if (folder->isHidden(entry.name))
                continue;
            const QString given = QDir::toNativeSeparators(base + QLatin1Char('/') + entry.name);
            const QString host = base + QLatin1Char('/') + entry.name;
            if (entry.kind == fs::Folder::Kind::File &&
                entry.name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
                found.append({given, host});
            } else if (entry.kind == fs::Folder::Kind::Folder && !entry.link) {
                if (fs::Result<fs::Folder> below = folder->subfolder(entry.name);
                    below && isGame(*below))
                    found.append({given, host});
            }
        }
        if (found.isEmpty())
            found.append({path, path}); // checked, it says that it holds no game
        games += found;
    }
    return games;
}

fs::Result<fs::Folder> FindCaptureFolder(const fs::Folder& root,
                                         const QStringList& nestedArchives) {
    QList<fs::Folder> holding;
    std::deque<fs::Folder> pending{root};
    int searched = 0;
    while (!pending.empty()) {
        fs::Folder folder = std::move(pending.front());
        pending.pop_front();
        if (++searched > kMaxFoldersSearched)
            return fs::Error{fs::ErrorKind::Other,
                             QStringLiteral("\"%1\" holds more than %2 folders; the search for "
                                            "%3 stopped there")
                                 .arg(root.path())
                                 .arg(kMaxFoldersSearched)
                                 .arg(PlanName)};
        if (folder.listError())
            return *folder.listError();
        if (holdsPlan(folder))
            holding.append(folder);
        for (const QString& name : subfolders(folder)) {
            fs::Result<fs::Folder> below = folder.subfolder(name);
            if (!below)
                return below.error();
            pending.push_back(std::move(below).value());
        }
    }
    if (holding.size() == 1)
        return holding.first();
    if (holding.isEmpty()) {
        QString message = QStringLiteral("No folder in \"%1\" holds %2").arg(root.path(), PlanName);
        if (!nestedArchives.isEmpty())
            message += QStringLiteral("; it holds the archive %1, and archives inside an archive "
                                      "are not opened")
                           .arg(quotedList(nestedArchives));
        return fs::Error{fs::ErrorKind::FileNotFound, message};
    }
    QStringList paths;
    for (const fs::Folder& folder : holding)
        paths << folder.path();
    return fs::Error{fs::ErrorKind::Other,
                     QStringLiteral("Several folders hold %1, so it is not clear which game to "
                                    "check: %2")
                         .arg(PlanName, quotedList(paths))};
}

} // namespace huddlex::league
