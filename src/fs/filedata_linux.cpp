#include "fs/inputfile.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace huddlex::fs::detail {

// SEEK_DATA finds where the next data lies. A file system without it, or any other failure,
// answers as if the whole file were data, which only costs reading the zeros.
qint64 nextData(int fd, qint64 from, qint64 size) {
    const off_t at = ::lseek(fd, static_cast<off_t>(from), SEEK_DATA);
    if (at >= 0)
        return static_cast<qint64>(at);
    if (errno == ENXIO)
        return size; // nothing but a hole up to the end
    return from;
}

} // namespace huddlex::fs::detail

namespace huddlex::fs::detail {

namespace {
FileStamp stampOf(const struct stat& st) {
    return {static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000};
}
} // namespace

FileStamp openedFileStamp(QFile& file) {
    struct stat st;
    if (::fstat(file.handle(), &st) != 0)
        return {file.size(), 0};
    return stampOf(st);
}

std::optional<FileStamp> hostFileStamp(const QString& hostPath) {
    struct stat st;
    if (::stat(QFile::encodeName(hostPath).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return stampOf(st);
}

// Hidden by name alone: no stat.
bool hiddenEntry(const QString&, const QString& name) {
    return name.startsWith(QLatin1Char('.'));
}

} // namespace huddlex::fs::detail
