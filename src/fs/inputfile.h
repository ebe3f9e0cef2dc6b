#pragma once

#include "fs/fserror.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QFile;

namespace huddlex::fs {

// A regular file opened for reading. Its size is known from the open file before any byte is
// read, so a caller decides how much it needs first and never reads more.
class InputFile {
public:
    InputFile(InputFile&&) noexcept;
    InputFile& operator=(InputFile&&) noexcept;
    ~InputFile();

    qint64 size() const { return size_; }

    // Up to `maxBytes` from the current position, fewer only at the end of the file.
    Result<QByteArray> read(qint64 maxBytes);
    // The same into `into`; returns the number of bytes read.
    Result<qint64> read(char* into, qint64 maxBytes);
    Status seek(qint64 position);

    // The first position at or after `from` where the file may hold data; the bytes before it
    // are a hole and read as zeros. `from` itself where the file system cannot tell, size()
    // when only a hole follows.
    qint64 dataFrom(qint64 from) const;

private:
    friend Result<InputFile> openHostFile(const QString& hostPath, const QString& windowsPath,
                                          bool knownRegular);
    InputFile(std::unique_ptr<QFile> file, qint64 size, QString windowsPath);

    std::unique_ptr<QFile> file_;
    qint64 size_ = 0;
    QString windowsPath_; // for messages
};

// Opens a regular file for reading. FIFOs, devices and folders are refused, never opened.
Result<InputFile> openFile(const QString& windowsPath);

// The same for a host path already resolved; `windowsPath` is what messages name. A caller
// that has just listed the file as a regular one may skip the check.
Result<InputFile> openHostFile(const QString& hostPath, const QString& windowsPath,
                               bool knownRegular = false);

namespace detail {
// What stat says of `hostPath` when it names nothing usable: not found (which kind), access
// denied, ...; nothing when it exists. `isFolder`/`isFile` tell what it is.
struct HostStat {
    std::optional<ErrorKind> error;
    bool isFile = false;
    bool isFolder = false;
};
HostStat statHost(const QString& hostPath);

// The next data position of an open descriptor (see InputFile::dataFrom); one file per platform.
qint64 nextData(int fd, qint64 from, qint64 size);

// Whether the platform hides the entry `name` at `hostPath` (see Folder::isHidden).
bool hiddenEntry(const QString& hostPath, const QString& name);
} // namespace detail

} // namespace huddlex::fs
