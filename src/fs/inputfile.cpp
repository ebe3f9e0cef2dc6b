#include "fs/inputfile.h"

#include "fs/failure.h"
#include "fs/faults.h"
#include "fs/filesystem.h"

#include <QFile>
#include <cerrno>

namespace huddlex::fs {

namespace {

const QString CannotRead = QStringLiteral("Cannot read");

// A file on disk, unbuffered: reads go straight to the file, so a prefix costs what it asks for.
class DiskSource final : public ByteSource {
public:
    DiskSource(std::unique_ptr<QFile> file, QString windowsPath, Naming naming)
        : file_(std::move(file)), windowsPath_(std::move(windowsPath)), naming_(naming),
          stamp_(detail::openedFileStamp(*file_)) {}

    qint64 size() const override { return stamp_.size; }
    qint64 position() const override { return file_->pos(); }

    Result<qint64> read(char* into, qint64 maxBytes) override {
        if (auto fault = faults::check(faults::Op::Read, file_->fileName()))
            return error(fault->kind);
        qint64 total = 0;
        while (total < maxBytes) {
            errno = 0;
            const qint64 got = file_->read(into + total, maxBytes - total);
            if (got < 0) {
                const ErrorKind kind = errno ? detail::kindFromErrno(errno) : ErrorKind::Other;
                return error(kind == ErrorKind::AccessDenied ? kind : ErrorKind::Other);
            }
            if (got == 0)
                break;
            total += got;
        }
        return total;
    }

    Status seek(qint64 position) override {
        if (!file_->seek(position))
            return error(ErrorKind::Other);
        return {};
    }

    qint64 dataFrom(qint64 from) const override {
        return detail::nextData(file_->handle(), from, stamp_.size);
    }

    qint64 modified() const override { return stamp_.modified; }

private:
    Error error(ErrorKind kind) const {
        return detail::makeError(naming_, kind, CannotRead, windowsPath_);
    }

    std::unique_ptr<QFile> file_;
    QString windowsPath_; // for messages
    Naming naming_;
    FileStamp stamp_; // one look at the open file gives both
};

} // namespace

InputFile::InputFile(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), size_(source_->size()) {}
InputFile::InputFile(InputFile&&) noexcept = default;
InputFile& InputFile::operator=(InputFile&&) noexcept = default;
InputFile::~InputFile() = default;

Result<qint64> InputFile::read(char* into, qint64 maxBytes) {
    return source_->read(into, maxBytes);
}

Result<QByteArray> InputFile::read(qint64 maxBytes) {
    // Never more than the file holds, whatever the caller asks for.
    const qint64 wanted = std::max<qint64>(0, std::min(maxBytes, size_ - source_->position()));
    QByteArray bytes(static_cast<qsizetype>(wanted), Qt::Uninitialized);
    Result<qint64> got = read(bytes.data(), wanted);
    if (!got)
        return got.error();
    bytes.truncate(static_cast<qsizetype>(*got));
    return bytes;
}

Status InputFile::seek(qint64 position) {
    return source_->seek(position);
}

qint64 InputFile::dataFrom(qint64 from) const {
    if (from >= size_)
        return from;
    return std::min(source_->dataFrom(from), size_);
}

Result<InputFile> openHostFile(const QString& hostPath, const QString& windowsPath,
                               bool knownRegular, Naming naming) {
    const auto error = [&](ErrorKind kind) {
        return detail::makeError(naming, kind, CannotRead, windowsPath);
    };
    if (!knownRegular) {
        const detail::HostStat stat = detail::statHost(hostPath);
        if (stat.error)
            return error(*stat.error);
        if (!stat.isFile)
            return error(ErrorKind::NotRegularFile);
    }
    auto file = std::make_unique<QFile>(hostPath);
    errno = 0;
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return error(errno ? detail::kindFromErrno(errno) : ErrorKind::Other);
    return InputFile(std::make_unique<DiskSource>(std::move(file), windowsPath, naming));
}

Result<InputFile> openFile(const QString& windowsPath) {
    return openHostFile(toHostPath(windowsPath), windowsPath);
}

} // namespace huddlex::fs
