#pragma once

#include "fs/fserror.h"
#include "fs/inputfile.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace huddlex::fs {

class FolderBackend;

// One folder, resolved and listed once. Names inside it are then looked up in the listing and
// files opened without resolving the folder's path again, so a run that names many files (or
// one folder in many letter-case spellings) costs one listing per folder on disk. A folder is
// a folder on disk unless another backend (an archive read in place) made it.
class Folder {
public:
    enum class Kind { File, Folder, Other };
    struct Entry {
        QString name;            // as on disk
        Kind kind = Kind::Other; // of what it leads to, a link followed
        bool link = false;       // a symbolic link
    };

    // Resolves `windowsPath` by the case rules and lists it. Fails when it is missing or not a
    // folder (PathNotFound, as Windows says) or cannot be reached (AccessDenied). A folder that
    // can be reached but not listed opens; listError() says why.
    static Result<Folder> open(const QString& windowsPath);

    // Opens a folder the user named on the host, as it is: no drive letter, no case rules on
    // the way to it. It and all reached through it are named in messages by the path as given,
    // with the host's separator. Reads and changes no global state, so any thread may use it.
    static Result<Folder> openHost(const QString& hostPath);

    // A folder of another backend, from its entries (any order) or why they could not be listed;
    // `path` is how messages and childPath() name it.
    static Folder fromEntries(QString path, std::vector<Entry> entries,
                              std::optional<Error> listError,
                              std::shared_ptr<const FolderBackend> backend);

    // The Windows path it was opened by (for another backend, the path it was given).
    const QString& path() const { return windowsPath_; }
    // Windows path of an entry (a host path for openHost()), for messages and the other calls.
    QString childPath(const QString& name) const;
    // Where it lies on the host; empty for a folder that is not on disk.
    QString hostPath() const;

    // Every entry (hidden ones included) in name order; empty when the listing failed.
    const std::vector<Entry>& entries() const;
    const std::optional<Error>& listError() const;

    // The on-disk name that `name` stands for: an entry of exactly that name wins; else the
    // first entry, in name order, that differs from it in letter case only. Unlisted folders
    // give `name` as written. Nothing when no entry matches.
    std::optional<QString> lookup(const QString& name) const;

    Result<Folder> subfolder(const QString& onDiskName) const;
    Result<InputFile> openFile(const QString& onDiskName) const;
    // What the listing says an entry is; nothing when it does not list it.
    std::optional<Kind> entryKind(const QString& onDiskName) const;
    // The size of a regular file, for callers that need none of its bytes.
    Result<qint64> fileSize(const QString& onDiskName) const;
    // Its size and when it was last written, as cheaply as the backend can tell.
    Result<FileStamp> stamp(const QString& onDiskName) const;

    // Whether the entry is hidden as the platform hides it (a leading dot on Linux).
    bool isHidden(const QString& onDiskName) const;
    // Whether both are one folder, however each was reached.
    bool isSameFolder(const Folder& other) const;

    // The same folder listed again, as it is now.
    Result<Folder> reopened() const;

private:
    struct Listing;

    QString windowsPath_;
    std::shared_ptr<Listing> listing_;
    std::shared_ptr<const FolderBackend> backend_;
};

// What a folder reaches through: the disk, or an archive. Each folder has its own.
class FolderBackend {
public:
    virtual ~FolderBackend() = default;
    virtual Result<Folder> subfolder(const Folder& self, const QString& onDiskName) const = 0;
    virtual Result<InputFile> openFile(const Folder& self, const QString& onDiskName) const = 0;
    virtual Result<qint64> fileSize(const Folder& self, const QString& onDiskName) const = 0;
    // By default from the opened file.
    virtual Result<FileStamp> stamp(const Folder& self, const QString& onDiskName) const;
    virtual bool isHidden(const QString& onDiskName) const = 0;
    virtual bool isSame(const FolderBackend& other) const = 0;
    virtual Result<Folder> reopened(const Folder& self) const = 0;
    virtual QString hostPath() const { return {}; }
    // What childPath() puts between a folder's path and a name.
    virtual QChar separator() const { return QLatin1Char('\\'); }
};

} // namespace huddlex::fs
