#pragma once

#include "fs/folder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace huddlex {

// Finds the play files that plan entries name (game folder + entry) and keeps, per distinct
// file, its size and its first bytes. Entries are bytes in the game's code page; each name is
// looked up by the file system's case rules, the exact name first. Every folder on disk is
// listed at most once, however many spellings name it, and each spelling is looked up once,
// so the many entries that cannot name a file (an empty start marker makes one per byte of
// plan text) are turned away without a disk access of their own.
class CandidateFiles {
public:
    // With this for `prefixBytes`, files are found by name alone: neither opened nor read, their
    // size unknown (-1). A name the folder lists as anything but a regular file names nothing.
    static constexpr qint64 kNamesOnly = -1;

    // Keeps at most `prefixBytes` of each file. Entries are game folder + entry.
    CandidateFiles(const QString& gameFolder, qint64 prefixBytes);
    // The same where entries start in `root` itself (a folder of another backend, or a game
    // folder already resolved whose path ends in a backslash).
    CandidateFiles(fs::Folder root, qint64 prefixBytes);

    // A file an entry names that is there but could not be opened or read (access denied, an
    // input/output error): it matches nothing, and a run must say so.
    struct Unreadable {
        QString path; // the folder's path and the name on disk
        fs::Error error;
    };
    const QList<Unreadable>& unreadable() const { return unreadable_; }
    // Records a failure to read file `id` past its prefix; the caller then takes it as no match.
    void markUnreadable(int id, const fs::Error& error);

    // The id of the readable regular file that `entry` names, the same for every entry naming
    // that file; -1 when it names nothing readable (missing, a folder, a FIFO, an invalid or
    // over-long path, "." or ".." parts). Reads the file's first bytes the first time; with
    // kNamesOnly, goes by the folder's listing and opens nothing.
    int resolve(QByteArrayView entry);

    int fileCount() const { return static_cast<int>(files_.size()); }
    // Size when first read, and the first min(size, prefixBytes) bytes.
    qint64 size(int id) const { return file(id).size; }
    // When the file was last written, as it was when first read (FileStamp::modified).
    qint64 modified(int id) const { return file(id).modified; }
    const QByteArray& prefix(int id) const { return file(id).prefix; }
    // Opens file `id` again, for the bytes past its prefix.
    fs::Result<fs::InputFile> open(int id) const;
    // The folder that holds file `id`, and its name there as on disk. The folder's path, and so
    // folder.childPath(name), is the same for every way of reaching the file from here.
    const fs::Folder& folderOf(int id) const {
        return nodes_[static_cast<size_t>(file(id).node)].folder;
    }
    const QString& nameOf(int id) const { return file(id).name; }

    // A folder below the game folder, found by the rules entries are (`relativePath` is
    // backslash separated, as a setting holds it), and its path relative to the game folder
    // with names as on disk. Nothing when it names no folder.
    struct FoundFolder {
        fs::Folder folder;
        QString relativePath;
    };
    std::optional<FoundFolder> findFolder(const QString& relativePath);
    // The subfolder `onDiskName` of `parent`, a folder found here: listed once, however often
    // it is asked for, whether by entries or by a walk.
    fs::Result<fs::Folder> subfolder(const fs::Folder& parent, const QString& onDiskName);

private:
    struct Node { // one folder as on disk
        fs::Folder folder;
        QHash<QByteArray, int> subfolderBySpelling; // name as written -> node, or -1
        QHash<QByteArray, int> fileBySpelling;      // name as written -> file id, or -1
        QHash<QString, int> subfolderByName;        // on-disk name -> node, or -1
        QHash<QString, int> fileByName;             // on-disk name -> file id, or -1
    };
    struct File {
        int node = 0;
        QString name; // on disk
        qint64 size = 0;
        QByteArray prefix;
        qint64 modified = 0;
    };

    int subfolder(int node, QByteArrayView name);
    int subfolderNamed(int node, const QString& hostName);
    int addNode(fs::Folder folder);
    int fileIn(int node, QByteArrayView name);
    int readFile(int node, const QString& onDiskName);
    void noteUnreadable(const QString& path, const fs::Error& error);
    QString hostName(int node, QByteArrayView name) const;
    const File& file(int id) const { return files_[static_cast<size_t>(id)]; }

    qint64 prefixBytes_;
    std::vector<Node> nodes_;
    QHash<QString, int> nodeByPath_; // Windows path as the folders compose it -> node
    std::vector<File> files_;
    QList<Unreadable> unreadable_;
    QString leadingPart_; // text of the game folder after its last backslash, usually empty
    qsizetype gameFolderLength_ = 0;
    bool usable_ = false;
};

} // namespace huddlex
