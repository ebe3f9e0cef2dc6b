#pragma once

#include "fs/fserror.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// Finding play files by name the way the game's paths name them, and reading no more of them
// than a comparison needs. A found file is known by its host path: two spellings that reach
// one file give the same path, so callers can use it to read each file once.
namespace huddlex::fs {

struct FoundFile {
    QString hostPath; // an identity, not for display
    qint64 size = 0;  // from the stat that found it
};

// The regular file `windowsPath` names (each name matched ignoring letter case), or nothing
// for a missing file, a folder, a FIFO or a device.
std::optional<FoundFile> regularFile(const QString& windowsPath);

// Up to `maxBytes` from the start of `file`, fewer when it has shrunk since. Refuses anything
// that is no longer a regular file.
Result<QByteArray> readPrefix(const FoundFile& file, qint64 maxBytes);

// Resolves names below one folder as toHostPath does (an exact name first, else the first
// name in name order that matches ignoring letter case) while listing each folder at most
// once, so many lookups, most of them for names that do not exist, stay cheap.
class NameLookup {
public:
    static constexpr int Root = 0;

    // Starts at the folder `windowsFolder` names; a missing folder finds nothing.
    explicit NameLookup(const QString& windowsFolder);

    // The folder `name` names inside `parent`, or -1. "." and ".." name nothing.
    int folder(int parent, QStringView name);
    // The regular file `name` names inside `parent`, or nothing.
    std::optional<FoundFile> file(int parent, QStringView name);

private:
    struct Listing {
        QSet<QString> exact;            // on-disk names
        QHash<QString, QString> folded; // case-folded name -> first on-disk name in name order
    };
    struct Folder {
        QString hostPath;
        std::optional<Listing> listing;
        QHash<QString, int> subfolders; // name as asked -> folder index or -1
    };
    std::optional<QString> onDiskName(int parent, QStringView name);

    std::vector<Folder> folders_;
    QHash<QString, std::optional<FoundFile>> files_; // host path -> what a stat found
};

// Writes `data` to the host file `hostPath` atomically: the file is either complete or as it
// was. For files the user names in a save dialog, which are host paths already.
Status writeHostFile(const QString& hostPath, const QByteArray& data);

} // namespace huddlex::fs
