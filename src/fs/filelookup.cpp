#include "fs/filelookup.h"

#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/hostpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace huddlex::fs {

namespace {

QString joined(const QString& hostFolder, const QString& name) {
    return hostFolder.endsWith(QLatin1Char('/')) ? hostFolder + name
                                                 : hostFolder + QLatin1Char('/') + name;
}

std::optional<FoundFile> statRegular(const QString& hostPath) {
    const QFileInfo info(hostPath);
    if (!info.isFile())
        return std::nullopt;
    return FoundFile{hostPath, info.size()};
}

} // namespace

std::optional<FoundFile> regularFile(const QString& windowsPath) {
    return statRegular(toHostPath(windowsPath));
}

Result<QByteArray> readPrefix(const FoundFile& file, qint64 maxBytes) {
    const QString what = QStringLiteral("Cannot read");
    // Checked again right before opening: a FIFO put in its place must not block the read.
    if (!QFileInfo(file.hostPath).isFile())
        return detail::makeError(ErrorKind::NotRegularFile, what, file.hostPath);
    if (auto fault = faults::check(faults::Op::Read, file.hostPath))
        return detail::makeError(fault->kind, what, file.hostPath);
    QFile in(file.hostPath);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly))
        return detail::makeError(detail::kindFromErrno(errno), what, file.hostPath);
    QByteArray data = in.read(std::max<qint64>(maxBytes, 0));
    if (in.error() != QFileDevice::NoError)
        return detail::makeError(ErrorKind::Other, what, file.hostPath);
    return data;
}

NameLookup::NameLookup(const QString& windowsFolder) {
    folders_.push_back({toHostPath(windowsFolder), std::nullopt, {}});
}

std::optional<QString> NameLookup::onDiskName(int parent, QStringView name) {
    if (parent < 0 || name.isEmpty() || name == u"." || name == u"..")
        return std::nullopt;
    Folder& folder = folders_[static_cast<size_t>(parent)];
    if (!folder.listing) {
        // Names only: no stat for the thousands of plays a folder may hold.
        Listing listing;
        const QStringList names =
            QDir(folder.hostPath)
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Name);
        for (const QString& onDisk : names) {
            listing.exact.insert(onDisk);
            const QString folded = onDisk.toCaseFolded();
            if (!listing.folded.contains(folded))
                listing.folded.insert(folded, onDisk);
        }
        folder.listing = std::move(listing);
    }
    const QString asked = name.toString();
    if (folder.listing->exact.contains(asked))
        return asked;
    auto it = folder.listing->folded.constFind(asked.toCaseFolded());
    if (it == folder.listing->folded.constEnd())
        return std::nullopt;
    return *it;
}

int NameLookup::folder(int parent, QStringView name) {
    if (parent < 0)
        return -1;
    const QString key = name.toString();
    if (auto known = folders_[static_cast<size_t>(parent)].subfolders.constFind(key);
        known != folders_[static_cast<size_t>(parent)].subfolders.constEnd())
        return *known;
    int index = -1;
    if (const std::optional<QString> found = onDiskName(parent, name)) {
        const QString path = joined(folders_[static_cast<size_t>(parent)].hostPath, *found);
        if (QFileInfo(path).isDir()) {
            index = static_cast<int>(folders_.size());
            folders_.push_back({path, std::nullopt, {}});
        }
    }
    folders_[static_cast<size_t>(parent)].subfolders.insert(key, index);
    return index;
}

std::optional<FoundFile> NameLookup::file(int parent, QStringView name) {
    const std::optional<QString> found = onDiskName(parent, name);
    if (!found)
        return std::nullopt;
    const QString path = joined(folders_[static_cast<size_t>(parent)].hostPath, *found);
    auto known = files_.constFind(path);
    if (known != files_.constEnd())
        return *known;
    std::optional<FoundFile> file = statRegular(path);
    files_.insert(path, file);
    return file;
}

Status writeHostFile(const QString& hostPath, const QByteArray& data) {
    const QString what = QStringLiteral("Cannot write");
    if (QFileInfo(hostPath).isDir())
        return detail::makeError(ErrorKind::NotRegularFile, what, hostPath);
    if (!QFileInfo(QFileInfo(hostPath).absolutePath()).isDir())
        return detail::makeError(ErrorKind::PathNotFound, what, hostPath);
    QSaveFile out(hostPath);
    out.setDirectWriteFallback(false);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly))
        return detail::makeError(detail::kindFromErrno(errno), what, hostPath);
    if (auto fault = faults::check(faults::Op::Write, hostPath)) {
        out.cancelWriting();
        return detail::makeError(fault->kind, what, hostPath);
    }
    errno = 0;
    if (out.write(data) != data.size()) {
        const int err = errno;
        out.cancelWriting();
        return detail::makeError(detail::kindFromErrno(err), what, hostPath);
    }
    if (auto fault = faults::check(faults::Op::Commit, hostPath)) {
        out.cancelWriting();
        return detail::makeError(fault->kind, what, hostPath);
    }
    errno = 0;
    if (!out.commit())
        return detail::makeError(detail::kindFromErrno(errno), what, hostPath);
    return {};
}

} // namespace huddlex::fs
