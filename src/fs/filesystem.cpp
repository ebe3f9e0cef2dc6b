#include "fs/filesystem.h"

#include "fs/failure.h"
#include "fs/faults.h"
#include "fs/folder.h"
#include "fs/hostops.h"
#include "fs/inputfile.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <memory>

namespace huddlex::fs {

using detail::makeError;

namespace {

// Splits a Windows path into its folder part and last component.
QString folderOf(const QString& windowsPath) {
    const QString name = fileNameOf(windowsPath);
    return windowsPath.left(windowsPath.size() - name.size());
}

QStringList entriesOf(const QString& hostFolder, QDir::Filters filters) {
    return QDir(hostFolder).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
}

// Why a folder that lists nothing gave nothing: it is missing, unreadable, or simply holds no
// entry of the kind asked for (then nothing).
std::optional<ErrorKind> listingFailure(const QString& hostFolder) {
    const detail::HostStat stat = detail::statHost(hostFolder);
    if (stat.error)
        return *stat.error == ErrorKind::FileNotFound ? ErrorKind::PathNotFound : *stat.error;
    if (!stat.isFolder)
        return ErrorKind::PathNotFound;
    std::error_code ec;
    std::filesystem::directory_iterator probe(std::filesystem::path(hostFolder.toStdU16String()),
                                              ec);
    if (!ec)
        return std::nullopt;
    const ErrorKind kind = detail::kindFromCode(ec);
    return kind == ErrorKind::AccessDenied ? kind : ErrorKind::Other;
}

MessagePaths& messagePaths() {
    static MessagePaths style = MessagePaths::Windows;
    return style;
}

} // namespace

namespace detail {

Place placeIn(const Folder& folder, const QString& name) {
    return {folder.hostPath() + QLatin1Char('/') + name, folder.childPath(name)};
}

Result<QString> findAt(const Place& folder, const QString& pattern, Search kind) {
    const bool wildcard = pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
    const QDir::Filters filters = kind == Search::Files ? QDir::Files : (QDir::Files | QDir::Dirs);
    if (!wildcard) {
        // A plain name needs no listing when it exists as written.
        const QFileInfo exact(folder.host + QLatin1Char('/') + pattern);
        // Hidden entries are skipped by name as they are in a listing, on both platforms.
        if (!pattern.isEmpty() && exact.exists() &&
            (exact.isFile() || (kind == Search::FilesAndFolders && exact.isDir())) &&
            !hiddenEntry(exact.filePath(), pattern))
            return storedName(folder.host, pattern);
    }
    const QStringList names = entriesOf(folder.host, filters);
    for (const QString& name : names) {
        if (matchesWildcard(name, pattern))
            return name;
    }
    const QString what = QStringLiteral("Cannot find");
    const QString shown = folder.shown.endsWith(QLatin1Char('\\'))
                              ? folder.shown + pattern
                              : folder.shown + QLatin1Char('\\') + pattern;
    if (names.isEmpty()) {
        if (auto failure = listingFailure(folder.host))
            return makeError(*failure, what, shown);
    }
    return makeError(ErrorKind::FileNotFound, what, shown);
}

} // namespace detail

Result<QString> find(const QString& windowsPath, Search kind) {
    const QString folder = folderOf(windowsPath);
    return detail::findAt({toHostPath(folder), folder}, fileNameOf(windowsPath), kind);
}

std::optional<QString> findFirst(const QString& windowsPath, Search kind) {
    Result<QString> found = find(windowsPath, kind);
    if (!found)
        return std::nullopt;
    return std::move(found).value();
}

bool existsExactly(const QString& windowsPath, Search kind) {
    const auto found = findFirst(windowsPath, kind);
    return found && *found == fileNameOf(windowsPath);
}

bool isFolder(const QString& windowsPath) {
    return QFileInfo(toHostPath(windowsPath)).isDir();
}

Result<QStringList> listFolder(const QString& windowsFolder, const QString& pattern) {
    const QString host = toHostPath(windowsFolder);
    const QStringList entries = entriesOf(host, QDir::Files);
    if (entries.isEmpty()) {
        if (auto failure = listingFailure(host))
            return makeError(*failure, QStringLiteral("Cannot read the folder"), windowsFolder);
    }
    QStringList names;
    for (const QString& name : entries) {
        if (matchesWildcard(name, pattern))
            names << name;
    }
    return names;
}

QStringList listFiles(const QString& windowsFolder, const QString& pattern) {
    Result<QStringList> names = listFolder(windowsFolder, pattern);
    return names ? std::move(names).value() : QStringList();
}

Result<QByteArray> readFile(const QString& windowsPath) {
    Result<InputFile> file = openFile(windowsPath);
    if (!file)
        return file.error();
    InputFile in = std::move(file).value();
    return in.read(in.size());
}

Status removeFile(const QString& windowsPath) {
    return detail::removeAt({toHostPath(windowsPath), windowsPath});
}

namespace detail {

Status removeAt(const Place& file) {
    const QString what = QStringLiteral("Cannot delete");
    const QFileInfo info(file.host);
    if (!info.isSymbolicLink()) { // a link goes, whatever it points to
        const HostStat stat = statHost(file.host);
        if (stat.error)
            return makeError(*stat.error, what, file.shown);
        if (stat.isFolder)
            return makeError(ErrorKind::NotRegularFile, what, file.shown);
    }
    if (auto fault = faults::check(faults::Op::Remove, file.host))
        return makeError(fault->kind, what, file.shown);
    errno = 0;
    if (!QFile::remove(file.host))
        return makeError(errno ? kindFromErrno(errno) : ErrorKind::AccessDenied, what, file.shown);
    return {};
}

DeleteReport removeMatchingAt(const Place& folder, const QString& pattern) {
    DeleteReport report;
    if (!QFileInfo(folder.host).isDir()) {
        report.folderError = makeError(QFileInfo::exists(folder.host) ? ErrorKind::NotRegularFile
                                                                      : ErrorKind::PathNotFound,
                                       QStringLiteral("Cannot open the folder"), folder.shown);
        return report;
    }
    const QStringList names = entriesOf(folder.host, QDir::Files | QDir::Hidden | QDir::System);
    QString shown = folder.shown;
    if (!shown.endsWith(QLatin1Char('\\')))
        shown += QLatin1Char('\\');
    for (const QString& name : names) {
        if (!matchesWildcard(name, pattern))
            continue;
        if (Status s = removeAt({folder.host + QLatin1Char('/') + name, shown + name}); s)
            report.deleted << name;
        else
            report.failed << s.message();
    }
    return report;
}

Status makeFolderAt(const Place& folder) {
    const QString what = QStringLiteral("Cannot create the folder");
    if (QFileInfo::exists(folder.host))
        return makeError(ErrorKind::AlreadyExists, what, folder.shown);
    if (!QFileInfo(QFileInfo(folder.host).absolutePath()).isDir())
        return makeError(ErrorKind::PathNotFound, what, folder.shown);
    if (auto fault = faults::check(faults::Op::MakeFolder, folder.host))
        return makeError(fault->kind, what, folder.shown);
    errno = 0;
    if (!QDir().mkdir(folder.host))
        return makeError(errno ? kindFromErrno(errno) : ErrorKind::Other, what, folder.shown);
    return {};
}

Result<QDateTime> modificationTimeAt(const Place& file) {
    // Asked every tick of capture: one stat when the file is there, a second only to say why not.
    const QFileInfo info(file.host);
    if (info.exists())
        return info.lastModified();
    return makeError(statHost(file.host).error.value_or(ErrorKind::Other),
                     QStringLiteral("Cannot read the time of"), file.shown);
}

} // namespace detail

DeleteReport removeMatching(const QString& windowsFolder, const QString& pattern) {
    return detail::removeMatchingAt({toHostPath(windowsFolder), windowsFolder}, pattern);
}

Status makeFolder(const QString& windowsPath) {
    return detail::makeFolderAt({toHostPath(windowsPath), windowsPath});
}

Result<QDateTime> modificationTime(const QString& windowsPath) {
    return detail::modificationTimeAt({toHostPath(windowsPath), windowsPath});
}

Result<FileStamp> stampOf(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    if (const std::optional<FileStamp> stamp = detail::hostFileStamp(host))
        return *stamp;
    const detail::HostStat stat = detail::statHost(host);
    const ErrorKind kind = stat.error.value_or(ErrorKind::NotRegularFile);
    return makeError(kind, QStringLiteral("Cannot read"), windowsPath);
}

FileStamp stampOf(const InputFile& file) {
    return {file.size(), file.modified()};
}

void setMessagePaths(MessagePaths style) {
    messagePaths() = style;
}

QString shownPath(const QString& windowsPath) {
    if (messagePaths() == MessagePaths::Windows)
        return windowsPath;
    return QDir::toNativeSeparators(toHostPath(windowsPath));
}

} // namespace huddlex::fs
