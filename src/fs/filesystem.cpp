#include "fs/filesystem.h"

#include "fs/faults.h"
#include "fs/hostpath.h"
#include "fs/systemdrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace huddlex::fs {

using detail::makeError;

namespace {

constexpr qint64 chunkSize = 64 * 1024;

// Splits a Windows path into its folder part and last component.
QString folderOf(const QString& windowsPath) {
    const QString name = fileNameOf(windowsPath);
    return windowsPath.left(windowsPath.size() - name.size());
}

QStringList entriesOf(const QString& hostFolder, QDir::Filters filters) {
    return QDir(hostFolder).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
}

// Checks that `hostPath` names an existing regular file.
Status checkRegularFile(const QString& hostPath, const QString& what, const QString& shown) {
    const QFileInfo info(hostPath);
    if (!info.exists())
        return makeError(detail::missingKind(hostPath), what, shown);
    if (!info.isFile())
        return makeError(ErrorKind::NotRegularFile, what, shown);
    return {};
}

// Opens the atomic destination; a folder missing on the way is PathNotFound.
Status openDestination(QSaveFile& out, const QString& hostPath, const QString& shown) {
    out.setDirectWriteFallback(false);
    if (QFileInfo(hostPath).isDir())
        return makeError(ErrorKind::NotRegularFile, QStringLiteral("Cannot write"), shown);
    if (!QFileInfo(QFileInfo(hostPath).absolutePath()).isDir())
        return makeError(ErrorKind::PathNotFound, QStringLiteral("Cannot write"), shown);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly))
        return makeError(detail::kindFromErrno(errno), QStringLiteral("Cannot write"), shown);
    return {};
}

Status writeChunk(QSaveFile& out, const QByteArray& chunk, const QString& shown) {
    if (auto fault = faults::check(faults::Op::Write, out.fileName()))
        return makeError(fault->kind, QStringLiteral("Cannot write"), shown);
    errno = 0;
    if (out.write(chunk) != chunk.size())
        return makeError(detail::kindFromErrno(errno), QStringLiteral("Cannot write"), shown);
    return {};
}

Status commit(QSaveFile& out, const QString& shown) {
    if (auto fault = faults::check(faults::Op::Commit, out.fileName())) {
        out.cancelWriting();
        return makeError(fault->kind, QStringLiteral("Cannot write"), shown);
    }
    errno = 0;
    if (!out.commit())
        return makeError(detail::kindFromErrno(errno), QStringLiteral("Cannot write"), shown);
    return {};
}

} // namespace

std::optional<QString> findFirst(const QString& windowsPath, Search kind) {
    const QString pattern = fileNameOf(windowsPath);
    const QString hostFolder = toHostPath(folderOf(windowsPath));
    const bool wildcard = pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
    const QDir::Filters filters = kind == Search::Files ? QDir::Files : (QDir::Files | QDir::Dirs);
    if (!wildcard) {
        // A plain name needs no listing when it exists as written.
        const QFileInfo exact(hostFolder + QLatin1Char('/') + pattern);
        if (!pattern.isEmpty() && !pattern.startsWith(QLatin1Char('.')) && exact.exists() &&
            (exact.isFile() || (kind == Search::FilesAndFolders && exact.isDir())))
            return detail::storedName(hostFolder, pattern);
    }
    for (const QString& name : entriesOf(hostFolder, filters)) {
        if (matchesWildcard(name, pattern))
            return name;
    }
    return std::nullopt;
}

bool existsExactly(const QString& windowsPath, Search kind) {
    const auto found = findFirst(windowsPath, kind);
    return found && *found == fileNameOf(windowsPath);
}

bool isFolder(const QString& windowsPath) {
    return QFileInfo(toHostPath(windowsPath)).isDir();
}

QStringList listFiles(const QString& windowsFolder, const QString& pattern) {
    QStringList names;
    for (const QString& name : entriesOf(toHostPath(windowsFolder), QDir::Files)) {
        if (matchesWildcard(name, pattern))
            names << name;
    }
    return names;
}

Result<QByteArray> readFile(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QString what = QStringLiteral("Cannot read");
    if (Status s = checkRegularFile(host, what, windowsPath); !s)
        return s.error();
    if (auto fault = faults::check(faults::Op::Read, host))
        return makeError(fault->kind, what, windowsPath);
    QFile file(host);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return makeError(detail::kindFromErrno(errno), what, windowsPath);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return makeError(ErrorKind::Other, what, windowsPath);
    return data;
}

Status copyFile(const QString& from, const QString& to) {
    const QString source = toHostPath(from);
    const QString what = QStringLiteral("Cannot copy");
    if (Status s = checkRegularFile(source, what, from); !s)
        return s;
    QFile in(source);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return makeError(detail::kindFromErrno(errno), what, from);
    QSaveFile out(toHostPath(to));
    if (Status s = openDestination(out, out.fileName(), to); !s)
        return s;
    while (!in.atEnd()) {
        if (auto fault = faults::check(faults::Op::Read, source)) {
            out.cancelWriting();
            return makeError(fault->kind, what, from);
        }
        const QByteArray chunk = in.read(chunkSize);
        if (in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return makeError(ErrorKind::Other, what, from);
        }
        if (Status s = writeChunk(out, chunk, to); !s) {
            out.cancelWriting();
            return s;
        }
    }
    return commit(out, to);
}

Status writeFile(const QString& to, const QByteArray& data) {
    return writeFileWith(to, [&](const ChunkWriter& write) -> Status {
        for (qsizetype at = 0; at < data.size(); at += chunkSize) {
            if (!write(data.mid(at, chunkSize)))
                return Error{ErrorKind::Other, {}};
        }
        return {};
    });
}

Status writeFileWith(const QString& to,
                     const std::function<Status(const ChunkWriter& write)>& produce) {
    QSaveFile out(toHostPath(to));
    if (Status s = openDestination(out, out.fileName(), to); !s)
        return s;
    Status writeStatus;
    const ChunkWriter write = [&](const QByteArray& chunk) {
        if (!writeStatus)
            return false;
        writeStatus = writeChunk(out, chunk, to);
        return writeStatus.ok();
    };
    const Status produced = produce(write);
    if (!writeStatus) {
        out.cancelWriting();
        return writeStatus;
    }
    if (!produced) {
        out.cancelWriting();
        return produced;
    }
    return commit(out, to);
}

Status removeFile(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QString what = QStringLiteral("Cannot delete");
    const QFileInfo info(host);
    if (!info.exists() && !info.isSymLink())
        return makeError(detail::missingKind(host), what, windowsPath);
    if (info.isDir())
        return makeError(ErrorKind::NotRegularFile, what, windowsPath);
    if (auto fault = faults::check(faults::Op::Remove, host))
        return makeError(fault->kind, what, windowsPath);
    errno = 0;
    if (!QFile::remove(host))
        return makeError(errno ? detail::kindFromErrno(errno) : ErrorKind::AccessDenied, what,
                         windowsPath);
    return {};
}

DeleteReport removeMatching(const QString& windowsFolder, const QString& pattern) {
    DeleteReport report;
    const QString host = toHostPath(windowsFolder);
    if (!QFileInfo(host).isDir()) {
        report.folderError =
            makeError(QFileInfo::exists(host) ? ErrorKind::NotRegularFile : ErrorKind::PathNotFound,
                      QStringLiteral("Cannot open the folder"), windowsFolder);
        return report;
    }
    const QStringList names = entriesOf(host, QDir::Files | QDir::Hidden | QDir::System);
    QString folder = windowsFolder;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    for (const QString& name : names) {
        if (!matchesWildcard(name, pattern))
            continue;
        if (Status s = removeFile(folder + name); s)
            report.deleted << name;
        else
            report.failed << s.message();
    }
    return report;
}

Status makeFolder(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QString what = QStringLiteral("Cannot create the folder");
    if (QFileInfo::exists(host))
        return makeError(ErrorKind::AlreadyExists, what, windowsPath);
    if (!QFileInfo(QFileInfo(host).absolutePath()).isDir())
        return makeError(ErrorKind::PathNotFound, what, windowsPath);
    if (auto fault = faults::check(faults::Op::MakeFolder, host))
        return makeError(fault->kind, what, windowsPath);
    errno = 0;
    if (!QDir().mkdir(host))
        return makeError(errno ? detail::kindFromErrno(errno) : ErrorKind::Other, what,
                         windowsPath);
    return {};
}

Result<QDateTime> modificationTime(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QFileInfo info(host);
    if (!info.exists())
        return makeError(detail::missingKind(host), QStringLiteral("Cannot read the time of"),
                         windowsPath);
    return info.lastModified();
}

} // namespace huddlex::fs
