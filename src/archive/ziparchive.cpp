#include "archive/ziparchive.h"

#include "archive/zipopen.h"
#include "archive/ziptree.h"
#include "fs/failure.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace huddlex::archive {

namespace {

fs::Error archiveError(fs::ErrorKind kind, const QString& shown, const QString& reason) {
    return fs::Error{kind, QStringLiteral("Cannot read \"%1\": %2").arg(shown, reason)};
}

// Closes what zip_error_init opened, however the function returns.
struct ZipError {
    zip_error_t error;
    ZipError() { zip_error_init(&error); }
    ~ZipError() { zip_error_fini(&error); }
};

} // namespace

fs::Result<ZipArchive> ZipArchive::opened(std::shared_ptr<detail::ZipTree> tree) {
    const zip_int64_t count = zip_get_num_entries(tree->zip, 0);
    if (count > kMaxEntries)
        return archiveError(fs::ErrorKind::Other, tree->path,
                            QStringLiteral("it holds %1 entries; an archive of more than %2 is "
                                           "not read")
                                .arg(count)
                                .arg(kMaxEntries));
    tree->build();
    return ZipArchive(std::move(tree));
}

fs::Result<ZipArchive> ZipArchive::open(const QString& hostPath) {
    const QString shown = QDir::toNativeSeparators(hostPath);
    const fs::detail::HostStat stat = fs::detail::statHost(hostPath);
    if (stat.error)
        return fs::detail::makeShownError(*stat.error, QStringLiteral("Cannot read"), shown);
    if (!stat.isFile)
        return fs::detail::makeShownError(fs::ErrorKind::NotRegularFile,
                                          QStringLiteral("Cannot read"), shown);
    auto tree = std::make_shared<detail::ZipTree>();
    tree->path = shown;
    ZipError error;
    tree->zip = detail::openZipFile(QFileInfo(hostPath).absoluteFilePath(), &error.error);
    if (!tree->zip) {
        const bool denied = zip_error_code_system(&error.error) == EACCES;
        return archiveError(denied ? fs::ErrorKind::AccessDenied : fs::ErrorKind::Other, shown,
                            detail::zipReason(&error.error));
    }
    return opened(std::move(tree));
}

fs::Result<ZipArchive> ZipArchive::fromBytes(const QByteArray& bytes, const QString& name) {
    auto tree = std::make_shared<detail::ZipTree>();
    tree->path = name;
    tree->bytes = bytes;
    ZipError error;
    zip_source_t* source = zip_source_buffer_create(
        tree->bytes.constData(), zip_uint64_t(tree->bytes.size()), 0, &error.error);
    if (source)
        tree->zip = zip_open_from_source(source, ZIP_RDONLY, &error.error);
    if (!tree->zip) {
        if (source)
            zip_source_free(source);
        return archiveError(fs::ErrorKind::Other, name, detail::zipReason(&error.error));
    }
    return opened(std::move(tree));
}

fs::Folder ZipArchive::root() const {
    return detail::folderOf(tree_, 0);
}

QStringList ZipArchive::problems() const {
    return tree_->problems;
}

QStringList ZipArchive::nestedArchives() const {
    return tree_->nested;
}

qint64 ZipArchive::entryCount() const {
    return zip_get_num_entries(tree_->zip, 0);
}

QString ZipArchive::path() const {
    return tree_->path;
}

} // namespace huddlex::archive
