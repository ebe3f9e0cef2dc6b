#include "fs/failure.h"
#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/hostops.h"
#include "fs/inputfile.h"

#include <QDir>
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

namespace detail {

Status copyAt(const Place& from, const Place& to) {
    const QString what = QStringLiteral("Cannot copy");
    Result<InputFile> source = openHostFile(from.host, from.shown);
    if (!source)
        return makeError(source.kind(), what, from.shown);
    InputFile in = std::move(source).value();
    Destination out(to.host, to.shown);
    if (Status s = out.open(); !s)
        return s;
    // To the end of the file as it is now, which may have grown since it was opened.
    QByteArray chunk(chunkSize, Qt::Uninitialized);
    for (;;) {
        Result<qint64> got = in.read(chunk.data(), chunkSize);
        if (!got) {
            out.cancel();
            return makeError(got.kind(), what, from.shown);
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

} // namespace detail

Status copyFile(const QString& from, const QString& to) {
    return detail::copyAt({toHostPath(from), from}, {toHostPath(to), to});
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

} // namespace huddlex::fs
