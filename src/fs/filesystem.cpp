#include "fs/filesystem.h"

#include "fs/failure.h"
#include "fs/faults.h"
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

constexpr qint64 chunkSize = 64 * 1024;

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

// The file being written. A QSaveFile is renamed over the destination once complete; but
// QSaveFile writes through a symbolic link to its target, which may lie anywhere, so a link
// at the destination is replaced instead: the new file is made under a temporary name beside
// it and renamed over the link itself.
class Destination {
public:
    Destination(QString hostPath, QString shown)
        : host_(std::move(hostPath)), shown_(std::move(shown)) {}

    Status open() {
        const QFileInfo info(host_);
        if (!QFileInfo(info.absolutePath()).isDir())
            return makeError(ErrorKind::PathNotFound, what(), shown_);
        errno = 0;
        if (info.isSymbolicLink()) {
            auto temp = std::make_unique<QTemporaryFile>(info.absolutePath() +
                                                         QStringLiteral("/.huddlex-XXXXXX"));
            if (!temp->open())
                return makeError(detail::kindFromErrno(errno), what(), shown_);
            temp->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
            temp_ = std::move(temp);
            return {};
        }
        if (info.isDir())
            return makeError(ErrorKind::NotRegularFile, what(), shown_);
        auto save = std::make_unique<QSaveFile>(host_);
        save->setDirectWriteFallback(false);
        if (!save->open(QIODevice::WriteOnly)) {
            // QSaveFile refuses a read-only destination itself, without an errno.
            const bool readOnly = info.exists() && !info.isWritable();
            return makeError(errno ? detail::kindFromErrno(errno)
                                   : (readOnly ? ErrorKind::AccessDenied : ErrorKind::Other),
                             what(), shown_);
        }
        save_ = std::move(save);
        return {};
    }

    Status write(const QByteArray& chunk) {
        QFileDevice& out = device();
        if (auto fault = faults::check(faults::Op::Write, out.fileName()))
            return makeError(fault->kind, what(), shown_);
        errno = 0;
        if (out.write(chunk) != chunk.size())
            return makeError(detail::kindFromErrno(errno), what(), shown_);
        return {};
    }

    Status commit() {
        if (auto fault = faults::check(faults::Op::Commit, host_)) {
            cancel();
            return makeError(fault->kind, what(), shown_);
        }
        errno = 0;
        if (save_) {
            if (!save_->commit())
                return makeError(detail::kindFromErrno(errno), what(), shown_);
            return {};
        }
        if (!temp_->flush()) {
            const ErrorKind kind = detail::kindFromErrno(errno);
            cancel();
            return makeError(kind, what(), shown_);
        }
        temp_->close();
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(temp_->fileName().toStdU16String()),
                                std::filesystem::path(host_.toStdU16String()), ec);
        if (ec) {
            cancel();
            return makeError(ErrorKind::Other, what(), shown_);
        }
        temp_->setAutoRemove(false); // it is the destination now
        temp_.reset();
        return {};
    }

    void cancel() {
        if (save_)
            save_->cancelWriting();
        temp_.reset(); // removes the temporary file
    }

private:
    static QString what() { return QStringLiteral("Cannot write"); }
    QFileDevice& device() {
        if (save_)
            return *save_;
        return *temp_;
    }

    QString host_, shown_;
    std::unique_ptr<QSaveFile> save_;
    std::unique_ptr<QTemporaryFile> temp_;
};

MessagePaths& messagePaths() {
    static MessagePaths style = MessagePaths::Windows;
    return style;
}

// Runs `produce` into `out`; nothing reaches the destination unless all of it was written.
Status produceInto(Destination& out,
                   const std::function<Status(const ChunkWriter& write)>& produce) {
    if (Status s = out.open(); !s)
        return s;
    Status writeStatus;
    const ChunkWriter write = [&](const QByteArray& chunk) {
        if (!writeStatus)
            return false;
        writeStatus = out.write(chunk);
        return writeStatus.ok();
    };
    const Status produced = produce(write);
    if (!writeStatus) {
        out.cancel();
        return writeStatus;
    }
    if (!produced) {
        out.cancel();
        return produced;
    }
    return out.commit();
}

std::function<Status(const ChunkWriter& write)> chunksOf(const QByteArray& data) {
    return [data](const ChunkWriter& write) -> Status {
        for (qsizetype at = 0; at < data.size(); at += chunkSize) {
            if (!write(data.mid(at, chunkSize)))
                return Error{ErrorKind::Other, {}};
        }
        return {};
    };
}

} // namespace

Result<QString> find(const QString& windowsPath, Search kind) {
    const QString pattern = fileNameOf(windowsPath);
    const QString hostFolder = toHostPath(folderOf(windowsPath));
    const bool wildcard = pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
    const QDir::Filters filters = kind == Search::Files ? QDir::Files : (QDir::Files | QDir::Dirs);
    if (!wildcard) {
        // A plain name needs no listing when it exists as written.
        const QFileInfo exact(hostFolder + QLatin1Char('/') + pattern);
        // Hidden entries are skipped by name as they are in a listing, on both platforms.
        if (!pattern.isEmpty() && exact.exists() &&
            (exact.isFile() || (kind == Search::FilesAndFolders && exact.isDir())) &&
            !detail::hiddenEntry(exact.filePath(), pattern))
            return detail::storedName(hostFolder, pattern);
    }
    const QStringList names = entriesOf(hostFolder, filters);
    for (const QString& name : names) {
        if (matchesWildcard(name, pattern))
            return name;
    }
    const QString what = QStringLiteral("Cannot find");
    if (names.isEmpty()) {
        if (auto failure = listingFailure(hostFolder))
            return makeError(*failure, what, windowsPath);
    }
    return makeError(ErrorKind::FileNotFound, what, windowsPath);
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

Status copyFile(const QString& from, const QString& to) {
    const QString what = QStringLiteral("Cannot copy");
    Result<InputFile> source = openFile(from);
    if (!source)
        return makeError(source.kind(), what, from);
    InputFile in = std::move(source).value();
    Destination out(toHostPath(to), to);
    if (Status s = out.open(); !s)
        return s;
    // To the end of the file as it is now, which may have grown since it was opened.
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    for (;;) {
        Result<qint64> got = in.read(chunk.data(), chunkSize);
        if (!got) {
            out.cancel();
            return makeError(got.kind(), what, from);
        }
        if (*got == 0)
            break;
        if (Status s = out.write(chunk.first(*got)); !s) {
            out.cancel();
            return s;
        }
    }
    return out.commit();
}

Status writeFile(const QString& to, const QByteArray& data) {
    return writeFileWith(to, chunksOf(data));
}

Status writeFileWith(const QString& to,
                     const std::function<Status(const ChunkWriter& write)>& produce) {
    Destination out(toHostPath(to), to);
    return produceInto(out, produce);
}

Status writeHostFile(const QString& hostPath, const QByteArray& data) {
    Destination out(hostPath, QDir::toNativeSeparators(hostPath));
    return produceInto(out, chunksOf(data));
}

Status removeFile(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QString what = QStringLiteral("Cannot delete");
    const QFileInfo info(host);
    if (!info.isSymbolicLink()) { // a link goes, whatever it points to
        const detail::HostStat stat = detail::statHost(host);
        if (stat.error)
            return makeError(*stat.error, what, windowsPath);
        if (stat.isFolder)
            return makeError(ErrorKind::NotRegularFile, what, windowsPath);
    }
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
    // Asked every tick of capture: one stat when the file is there, a second only to say why not.
    const QString host = toHostPath(windowsPath);
    const QFileInfo info(host);
    if (info.exists())
        return info.lastModified();
    return makeError(detail::statHost(host).error.value_or(ErrorKind::Other),
                     QStringLiteral("Cannot read the time of"), windowsPath);
}

Result<FileStamp> stampOf(const QString& windowsPath) {
    const QString host = toHostPath(windowsPath);
    const QFileInfo info(host);
    if (info.isFile())
        return FileStamp{info.size(), info.lastModified()};
    const ErrorKind kind = info.exists() ? ErrorKind::NotRegularFile
                                         : detail::statHost(host).error.value_or(ErrorKind::Other);
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
