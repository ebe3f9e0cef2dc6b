#include "fs/folder.h"

#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/hostpath.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <filesystem>

namespace huddlex::fs {

namespace {

const QString CannotOpenFolder = QStringLiteral("Cannot open the folder");
const QString CannotReadFolder = QStringLiteral("Cannot read the folder");

// Directory entries carry the platform's own string type; each has its decoding.
[[maybe_unused]] QString fromNative(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}
[[maybe_unused]] QString fromNative(const std::wstring& name) {
    return QString::fromStdWString(name);
}

Folder::Kind kindOf(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (entry.is_regular_file(ec))
        return Folder::Kind::File;
    if (entry.is_directory(ec))
        return Folder::Kind::Folder;
    return Folder::Kind::Other;
}

} // namespace

struct Folder::Listing {
    std::vector<Entry> entries;
    std::optional<Error> error;
    std::optional<QHash<QString, qsizetype>> folded; // case-folded name -> first entry, on demand
};

namespace {

ErrorKind kindFromCode(const std::error_code& ec) {
    const std::error_condition why = ec.default_error_condition();
    if (why == std::errc::permission_denied || why == std::errc::operation_not_permitted)
        return ErrorKind::AccessDenied;
    if (why == std::errc::no_such_file_or_directory || why == std::errc::not_a_directory)
        return ErrorKind::PathNotFound;
    return ErrorKind::Other;
}

} // namespace

Result<Folder> Folder::open(const QString& windowsPath) {
    return openHost(toHostPath(windowsPath), windowsPath);
}

Result<Folder> Folder::openHost(const QString& hostPath, const QString& windowsPath) {
    const detail::HostStat stat = detail::statHost(hostPath);
    if (stat.error) {
        const ErrorKind kind =
            *stat.error == ErrorKind::FileNotFound ? ErrorKind::PathNotFound : *stat.error;
        return detail::makeError(kind, CannotOpenFolder, windowsPath);
    }
    if (!stat.isFolder)
        return detail::makeError(ErrorKind::PathNotFound, CannotOpenFolder, windowsPath);

    Folder folder;
    folder.windowsPath_ = windowsPath;
    folder.hostPath_ = hostPath;
    folder.listing_ = std::make_shared<Listing>();
    Listing& listing = *folder.listing_;
    if (auto fault = faults::check(faults::Op::List, hostPath)) {
        listing.error = detail::makeError(fault->kind, CannotReadFolder, windowsPath);
        return folder;
    }
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(hostPath.toStdU16String()), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code linkError; // one entry that cannot be looked at does not end the listing
        const bool link = it->is_symlink(linkError);
        listing.entries.push_back({fromNative(it->path().filename().native()), kindOf(*it), link});
    }
    if (ec) {
        listing.entries.clear();
        listing.error = detail::makeError(kindFromCode(ec), CannotReadFolder, windowsPath);
        return folder;
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return folder;
}

QString Folder::childPath(const QString& name) const {
    return windowsPath_.endsWith(QLatin1Char('\\')) ? windowsPath_ + name
                                                    : windowsPath_ + QLatin1Char('\\') + name;
}

const std::vector<Folder::Entry>& Folder::entries() const {
    return listing_->entries;
}

const std::optional<Error>& Folder::listError() const {
    return listing_->error;
}

std::optional<QString> Folder::lookup(const QString& name) const {
    Listing& listing = *listing_;
    if (listing.error)
        return name;
    const auto exact = std::lower_bound(
        listing.entries.begin(), listing.entries.end(), name,
        [](const Entry& entry, const QString& wanted) { return entry.name < wanted; });
    if (exact != listing.entries.end() && exact->name == name)
        return name;
    if (!listing.folded) {
        QHash<QString, qsizetype> folded;
        folded.reserve(static_cast<qsizetype>(listing.entries.size()));
        // insert() keeps the last of equal keys and name order wants the first: go backwards.
        for (qsizetype i = static_cast<qsizetype>(listing.entries.size()) - 1; i >= 0; --i)
            folded.insert(listing.entries[static_cast<size_t>(i)].name.toCaseFolded(), i);
        listing.folded = std::move(folded);
    }
    const auto it = listing.folded->constFind(name.toCaseFolded());
    if (it == listing.folded->constEnd())
        return std::nullopt;
    return listing.entries[static_cast<size_t>(*it)].name;
}

Result<Folder> Folder::subfolder(const QString& onDiskName) const {
    return openHost(hostPath_ + QLatin1Char('/') + onDiskName, childPath(onDiskName));
}

Result<InputFile> Folder::openFile(const QString& onDiskName) const {
    // The listing already told a regular file from a FIFO or a device: no stat of its own.
    return openHostFile(hostPath_ + QLatin1Char('/') + onDiskName, childPath(onDiskName),
                        entryKind(onDiskName) == Kind::File);
}

std::optional<Folder::Kind> Folder::entryKind(const QString& onDiskName) const {
    const std::vector<Entry>& entries = listing_->entries;
    const auto entry =
        std::lower_bound(entries.begin(), entries.end(), onDiskName,
                         [](const Entry& e, const QString& wanted) { return e.name < wanted; });
    if (entry == entries.end() || entry->name != onDiskName)
        return std::nullopt;
    return entry->kind;
}

Result<qint64> Folder::fileSize(const QString& onDiskName) const {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(
        std::filesystem::path((hostPath_ + QLatin1Char('/') + onDiskName).toStdU16String()), ec);
    if (!ec)
        return static_cast<qint64>(size);
    const std::error_condition why = ec.default_error_condition();
    ErrorKind kind = kindFromCode(ec);
    if (why == std::errc::is_a_directory || why == std::errc::not_supported)
        kind = ErrorKind::NotRegularFile; // a folder, a FIFO or a device
    else if (why == std::errc::no_such_file_or_directory)
        kind = ErrorKind::FileNotFound;
    return detail::makeError(kind, QStringLiteral("Cannot read"), childPath(onDiskName));
}

bool Folder::isHidden(const QString& onDiskName) const {
    return detail::hiddenEntry(hostPath_ + QLatin1Char('/') + onDiskName, onDiskName);
}

bool Folder::isSameFolder(const Folder& other) const {
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(hostPath_.toStdU16String()),
                                       std::filesystem::path(other.hostPath_.toStdU16String()), ec);
}

} // namespace huddlex::fs
