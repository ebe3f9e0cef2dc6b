#pragma once

#include "fs/fserror.h"
#include "fs/inputfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Every host path goes through here. Callers pass paths the way the game composes them
// (drive + folders + name, backslash separated); each component after the drive is
// matched on disk ignoring letter case, as Windows and Wine do.
namespace huddlex::fs {

// Host path for a Windows path. Components that do not exist yet are kept as written.
QString toHostPath(const QString& windowsPath);

// Last component of a Windows path ("C:\a\B.txt" -> "B.txt").
QString fileNameOf(const QString& windowsPath);

// Windows wildcard match (`*`, `?`; `*.*` matches every name), ignoring letter case.
bool matchesWildcard(const QString& name, const QString& pattern);

enum class Search {
    Files,           // ordinary files; hidden entries (dot-files) are skipped
    FilesAndFolders, // folders too
};

// Directory search: the on-disk name of the first entry (in name order) that matches the
// last component of `windowsPath`, which may hold wildcards. When nothing matches, the error
// says why: FileNotFound (the folder holds no match), PathNotFound (no such folder) or
// AccessDenied (the folder cannot be read).
Result<QString> find(const QString& windowsPath, Search kind = Search::Files);

// The same without the reason: a missing or unreadable folder gives nothing.
std::optional<QString> findFirst(const QString& windowsPath, Search kind = Search::Files);

// The existence test of the game's files: the search for `windowsPath` returns exactly
// its last component, letter case included.
bool existsExactly(const QString& windowsPath, Search kind = Search::Files);

// True when `windowsPath` names an existing folder.
bool isFolder(const QString& windowsPath);

// On-disk names of the ordinary files in a folder matching `pattern`, sorted by name.
QStringList listFiles(const QString& windowsFolder, const QString& pattern);

// On-disk names of the ordinary files in a folder matching `pattern`, sorted by name, or why
// the folder could not be read (PathNotFound, AccessDenied, ...).
Result<QStringList> listFolder(const QString& windowsFolder, const QString& pattern);

// Writes below replace the destination atomically. A symbolic link at the destination is
// replaced by the new file, never written through to its target.

// Copies `from` over `to` atomically: `to` is either the complete copy or left as it was.
Status copyFile(const QString& from, const QString& to);

// Writes `data` to `to` atomically, replacing it.
Status writeFile(const QString& to, const QByteArray& data);

// The same for a host path the user chose (in a save dialog): used as it is, without the case
// rules of the game's paths.
Status writeHostFile(const QString& hostPath, const QByteArray& data);

// Writes a file atomically from a producer that appends through `write` (returns false
// to abandon the file); nothing reaches `to` unless the producer returns true.
using ChunkWriter = std::function<bool(const QByteArray& chunk)>;
Status writeFileWith(const QString& to,
                     const std::function<Status(const ChunkWriter& write)>& produce);

// Reads a whole regular file. FIFOs, devices and folders are refused, never opened. Callers
// that must bound memory open the file (fs/inputfile.h) and read what they need.
Result<QByteArray> readFile(const QString& windowsPath);

// Deletes one file.
Status removeFile(const QString& windowsPath);

struct DeleteReport {
    QStringList deleted;              // on-disk names
    QStringList failed;               // "name: reason" for each file that stayed
    std::optional<Error> folderError; // the folder itself could not be read
    bool ok() const { return failed.isEmpty() && !folderError; }
};

// Deletes the ordinary files of a folder that match `pattern` (hidden ones included, as
// Windows deletes them); folders are left alone. Goes on past a file it cannot delete.
DeleteReport removeMatching(const QString& windowsFolder, const QString& pattern);

// Creates the last level of `windowsPath`; its parent must exist.
Status makeFolder(const QString& windowsPath);

// Modification time of a file or folder.
Result<QDateTime> modificationTime(const QString& windowsPath);

// The stamp of a regular file; of an open file, from the file itself.
Result<FileStamp> stampOf(const QString& windowsPath);
FileStamp stampOf(const InputFile& file);

// How messages name paths: as the game composes them (the window, whose user knows the game's
// drive letters), or as host paths (the headless command, whose user gave a host folder).
enum class MessagePaths { Windows, Host };
void setMessagePaths(MessagePaths style);
// `windowsPath` as messages name it.
QString shownPath(const QString& windowsPath);

} // namespace huddlex::fs
