#include "fs/inputfile.h"

#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/hostpath.h"

#include <QFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace huddlex::fs {

namespace {
const QString CannotRead = QStringLiteral("Cannot read");
} // namespace

namespace detail {

HostStat statHost(const QString& hostPath) {
    std::error_code ec;
    const auto status =
        std::filesystem::status(std::filesystem::path(hostPath.toStdU16String()), ec);
    HostStat result;
    if (ec) {
        const std::error_condition why = ec.default_error_condition();
        if (why == std::errc::no_such_file_or_directory)
            result.error = missingKind(hostPath);
        else if (why == std::errc::not_a_directory)
            result.error = ErrorKind::PathNotFound;
        else if (why == std::errc::permission_denied || why == std::errc::operation_not_permitted)
            result.error = ErrorKind::AccessDenied;
        else
            result.error = ErrorKind::Other;
        return result;
    }
    result.isFile = std::filesystem::is_regular_file(status);
    result.isFolder = std::filesystem::is_directory(status);
    return result;
}

} // namespace detail

InputFile::InputFile(std::unique_ptr<QFile> file, qint64 size, QString windowsPath)
    : file_(std::move(file)), size_(size), windowsPath_(std::move(windowsPath)) {}
InputFile::InputFile(InputFile&&) noexcept = default;
InputFile& InputFile::operator=(InputFile&&) noexcept = default;
InputFile::~InputFile() = default;

Result<qint64> InputFile::read(char* into, qint64 maxBytes) {
    if (auto fault = faults::check(faults::Op::Read, file_->fileName()))
        return detail::makeError(fault->kind, CannotRead, windowsPath_);
    qint64 total = 0;
    while (total < maxBytes) {
        errno = 0;
        const qint64 got = file_->read(into + total, maxBytes - total);
        if (got < 0) {
            const ErrorKind kind = errno ? detail::kindFromErrno(errno) : ErrorKind::Other;
            return detail::makeError(kind == ErrorKind::AccessDenied ? kind : ErrorKind::Other,
                                     CannotRead, windowsPath_);
        }
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

Result<QByteArray> InputFile::read(qint64 maxBytes) {
    // Never more than the file holds, whatever the caller asks for.
    const qint64 wanted = std::max<qint64>(0, std::min(maxBytes, size_ - file_->pos()));
    QByteArray bytes(static_cast<qsizetype>(wanted), Qt::Uninitialized);
    Result<qint64> got = read(bytes.data(), wanted);
    if (!got)
        return got.error();
    bytes.truncate(static_cast<qsizetype>(*got));
    return bytes;
}

Status InputFile::seek(qint64 position) {
    if (!file_->seek(position))
        return detail::makeError(ErrorKind::Other, CannotRead, windowsPath_);
    return {};
}

qint64 InputFile::dataFrom(qint64 from) const {
    if (from >= size_)
        return from;
    return std::min(detail::nextData(file_->handle(), from, size_), size_);
}

Result<InputFile> openHostFile(const QString& hostPath, const QString& windowsPath,
                               bool knownRegular) {
    if (!knownRegular) {
        const detail::HostStat stat = detail::statHost(hostPath);
        if (stat.error)
            return detail::makeError(*stat.error, CannotRead, windowsPath);
        if (!stat.isFile)
            return detail::makeError(ErrorKind::NotRegularFile, CannotRead, windowsPath);
    }
    // Unbuffered: reads go straight to the file, so a prefix costs what it asks for.
    auto file = std::make_unique<QFile>(hostPath);
    errno = 0;
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return detail::makeError(errno ? detail::kindFromErrno(errno) : ErrorKind::Other,
                                 CannotRead, windowsPath);
    const qint64 size = file->size();
    return InputFile(std::move(file), size, windowsPath);
}

Result<InputFile> openFile(const QString& windowsPath) {
    return openHostFile(toHostPath(windowsPath), windowsPath);
}

} // namespace huddlex::fs
