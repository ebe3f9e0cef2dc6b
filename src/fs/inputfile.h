#pragma once

#include "fs/fserror.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QFile;

namespace huddlex::fs {

// What tells a file apart from the one it was: its size and when it was last written.
struct FileStamp {
    qint64 size = -1;
    qint64 modified = 0; // milliseconds since 1970 (UTC); 0 where unknown
    bool operator==(const FileStamp&) const = default;
};

// Where an open file's bytes come from: a file on disk, or an entry of an archive read in place.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    virtual qint64 position() const = 0;
    // Up to `maxBytes` from the current position into `into`, fewer only at the end.
    virtual Result<qint64> read(char* into, qint64 maxBytes) = 0;
    virtual Status seek(qint64 position) = 0;
    // The first position at or after `from` that may hold data (see InputFile::dataFrom).
    virtual qint64 dataFrom(qint64 from) const { return from; }
    // When the file was last written, in milliseconds since 1970; 0 where it cannot tell.
    virtual qint64 modified() const { return 0; }
};

// A regular file opened for reading. Its size is known from the open file before any byte is
// read, so a caller decides how much it needs first and never reads more.
class InputFile {
public:
    explicit InputFile(std::unique_ptr<ByteSource> source);
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

    // When the file was last written, as the open file says (FileStamp::modified).
    qint64 modified() const { return source_->modified(); }

private:
    std::unique_ptr<ByteSource> source_;
    qint64 size_ = 0;
};

// Opens a regular file for reading. FIFOs, devices and folders are refused, never opened.
Result<InputFile> openFile(const QString& windowsPath);

// The same for a host path already resolved; `windowsPath` is what messages name. A caller
// that has just listed the file as a regular one may skip the check.
Result<InputFile> openHostFile(const QString& hostPath, const QString& windowsPath,
                               bool knownRegular = false, Naming naming = Naming::Windows);

namespace detail {
// The next data position of an open descriptor (see InputFile::dataFrom); one file per platform.
qint64 nextData(int fd, qint64 from, qint64 size);

// Whether the platform hides the entry `name` at `hostPath` (see Folder::isHidden).
bool hiddenEntry(const QString& hostPath, const QString& name);

// The stamp of a file open for reading, from one look at the open file; of a regular file by
// its host path, nothing when it is none. One file per platform.
FileStamp openedFileStamp(QFile& file);
std::optional<FileStamp> hostFileStamp(const QString& hostPath);
} // namespace detail

} // namespace huddlex::fs
