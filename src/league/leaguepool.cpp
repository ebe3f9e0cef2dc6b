#include "league/leaguepool.h"

#include "fs/failure.h"
#include "fs/namecase.h"
#include "league/poolcache.h"
#include "validate/playidentifier.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex::league {

namespace {

// A top folder with one entry, the play folder: what a game folder is to its play folder,
// made for a pool whose top is the play folder itself.
class PlayFolderParent final : public fs::FolderBackend {
public:
    PlayFolderParent(fs::Folder playFolder, QString name)
        : playFolder_(std::move(playFolder)), name_(std::move(name)) {}

    static fs::Folder make(const QString& path, const fs::Folder& playFolder, const QString& name) {
        return fs::Folder::fromEntries(path, {{name, fs::Folder::Kind::Folder, false}},
                                       std::nullopt,
                                       std::make_shared<PlayFolderParent>(playFolder, name));
    }

    fs::Result<fs::Folder> subfolder(const fs::Folder& self, const QString& name) const override {
        if (name == name_)
            return playFolder_;
        return missing(self, name, fs::ErrorKind::PathNotFound);
    }
    fs::Result<fs::InputFile> openFile(const fs::Folder& self, const QString& name) const override {
        return missing(self, name, fs::ErrorKind::FileNotFound);
    }
    fs::Result<qint64> fileSize(const fs::Folder& self, const QString& name) const override {
        return missing(self, name, fs::ErrorKind::FileNotFound);
    }
    bool isHidden(const QString&) const override { return false; }
    bool isSame(const fs::FolderBackend& other) const override { return &other == this; }
    fs::Result<fs::Folder> reopened(const fs::Folder& self) const override {
        return make(self.path(), playFolder_, name_);
    }
    QChar separator() const override { return QDir::separator(); }

private:
    static fs::Error missing(const fs::Folder& self, const QString& name, fs::ErrorKind kind) {
        return fs::detail::makeShownError(kind, QStringLiteral("Cannot read"),
                                          self.childPath(name));
    }

    fs::Folder playFolder_;
    QString name_;
};

} // namespace

PoolSummary LeaguePool::summaryNow() const {
    PoolSummary now = summary;
    now.problems = source.problems(); // an archive's entries that failed say so themselves
    if (!source.archive && prefixes) {
        for (const CandidateFiles::Unreadable& file : prefixes->unreadable())
            now.problems << file.error.message;
    }
    if (unlistedFolders > 0)
        now.problems << QStringLiteral("%1 folders of the play folder could not be read: what "
                                       "they hold is missing from the pool")
                            .arg(unlistedFolders);
    return now;
}

LeaguePool OpenPool(const QString& hostPath, const QString& playFolder) {
    LeaguePool pool;
    pool.summary.path = hostPath;
    pool.summary.playFolder = playFolder;
    pool.source = OpenSource(hostPath);
    if (!pool.source.root) {
        pool.summary.error = pool.source.error;
        return pool;
    }
    const fs::Folder& top = *pool.source.root;
    const std::optional<QString> held =
        playFolder.isEmpty() ? std::nullopt : top.lookup(playFolder);
    if (held && top.entryKind(*held) == fs::Folder::Kind::Folder) {
        pool.summary.holdsPlayFolder = true;
        pool.entryRoot = CachedFolder(top, top.path());
    } else if (playFolder.isEmpty()) {
        pool.entryRoot = CachedFolder(top, top.path()); // entries start in the play folder
    } else {
        // Named so that a path through it reads like one through a game folder's play folder:
        // the pool's own path when its name is the play folder's, else the folder below it.
        const bool named =
            fs::detail::caseKey(QFileInfo(hostPath).fileName()) == fs::detail::caseKey(playFolder);
        const QString path = named ? top.path() : top.path() + QDir::separator() + playFolder;
        const QString parent =
            named ? QDir::toNativeSeparators(QFileInfo(hostPath).path()) : top.path();
        pool.entryRoot = PlayFolderParent::make(parent, CachedFolder(top, path), playFolder);
    }
    pool.names = std::make_shared<CandidateFiles>(*pool.entryRoot, CandidateFiles::kNamesOnly);
    pool.prefixes = std::make_shared<CandidateFiles>(*pool.entryRoot, PlayIdentifier::kPrefixBytes);
    GamePaths paths;
    paths.gFBPlayFolder = playFolder;
    pool.library = ScanLibrary(*pool.names, paths, std::nullopt);
    pool.summary.plays = pool.library->files.size();
    pool.unlistedFolders = pool.library->unlistedFolders;
    if (pool.summary.plays == 0) {
        pool.summary.error =
            QStringLiteral("The pool \"%1\" holds no play files (.ply)").arg(top.path());
        if (pool.source.archive && !pool.source.archive->nestedArchives().isEmpty())
            pool.summary.error += QStringLiteral("; it holds archives, and archives inside an "
                                                 "archive are not opened");
        pool.entryRoot.reset();
    }
    return pool;
}

} // namespace huddlex::league
