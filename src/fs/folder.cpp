#include "fs/folder.h"

#include "fs/failure.h"
#include "fs/faults.h"
#include "fs/filesystem.h"
#include "fs/namecase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::filesystem::path nativePath(const QString& hostPath) {
    return std::filesystem::path(hostPath.toStdU16String());
}

Folder::Kind kindOf(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (entry.is_regular_file(ec))
        return Folder::Kind::File;
    if (entry.is_directory(ec))
        return Folder::Kind::Folder;
    return Folder::Kind::Other;
}

// A folder on disk.
class DiskFolder final : public FolderBackend {
public:
    DiskFolder(QString hostPath, Naming naming) : host_(std::move(hostPath)), naming_(naming) {}

    static Result<Folder> open(const QString& hostPath, const QString& windowsPath,
                               Naming naming = Naming::Windows) {
        const auto error = [&](ErrorKind kind, const QString& what) {
            return detail::makeError(naming, kind, what, windowsPath);
        };
        const detail::HostStat stat = detail::statHost(hostPath);
        if (stat.error) {
            const ErrorKind kind =
                *stat.error == ErrorKind::FileNotFound ? ErrorKind::PathNotFound : *stat.error;
            return error(kind, CannotOpenFolder);
        }
        if (!stat.isFolder)
            return error(ErrorKind::PathNotFound, CannotOpenFolder);
        auto backend = std::make_shared<DiskFolder>(hostPath, naming);
        if (auto fault = faults::check(faults::Op::List, hostPath))
            return Folder::fromEntries(windowsPath, {}, error(fault->kind, CannotReadFolder),
                                       std::move(backend));
        std::vector<Folder::Entry> entries;
        std::error_code ec;
        std::filesystem::directory_iterator it(nativePath(hostPath), ec);
        for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            std::error_code linkError; // one entry that cannot be looked at does not end it
            const bool link = it->is_symlink(linkError);
            entries.push_back({fromNative(it->path().filename().native()), kindOf(*it), link});
        }
        if (ec)
            return Folder::fromEntries(windowsPath, {},
                                       error(detail::kindFromCode(ec), CannotReadFolder),
                                       std::move(backend));
        return Folder::fromEntries(windowsPath, std::move(entries), std::nullopt,
                                   std::move(backend));
    }

    Result<Folder> subfolder(const Folder& self, const QString& onDiskName) const override {
        return open(child(onDiskName), self.childPath(onDiskName), naming_);
    }
    Result<InputFile> openFile(const Folder& self, const QString& onDiskName) const override {
        // The listing already told a regular file from a FIFO or a device: no stat of its own.
        return openHostFile(child(onDiskName), self.childPath(onDiskName),
                            self.entryKind(onDiskName) == Folder::Kind::File, naming_);
    }
    Result<qint64> fileSize(const Folder& self, const QString& onDiskName) const override {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(nativePath(child(onDiskName)), ec);
        if (!ec)
            return static_cast<qint64>(size);
        const bool missing = ec.default_error_condition() == std::errc::no_such_file_or_directory;
        const ErrorKind kind = missing ? ErrorKind::FileNotFound : detail::kindFromCode(ec);
        return detail::makeError(naming_, kind, QStringLiteral("Cannot read"),
                                 self.childPath(onDiskName));
    }
    Result<FileStamp> stamp(const Folder& self, const QString& onDiskName) const override {
        if (const std::optional<FileStamp> stamp = detail::hostFileStamp(child(onDiskName)))
            return *stamp; // one stat
        return fileSize(self, onDiskName).error();
    }
    bool isHidden(const QString& onDiskName) const override {
        return detail::hiddenEntry(child(onDiskName), onDiskName);
    }
    bool isSame(const FolderBackend& other) const override {
        const QString otherHost = other.hostPath();
        std::error_code ec;
        return !otherHost.isEmpty() &&
               std::filesystem::equivalent(nativePath(host_), nativePath(otherHost), ec);
    }
    Result<Folder> reopened(const Folder& self) const override {
        return open(host_, self.path(), naming_);
    }
    QString hostPath() const override { return host_; }
    QChar separator() const override {
        return naming_ == Naming::AsGiven ? QDir::separator() : QLatin1Char('\\');
    }

private:
    QString child(const QString& name) const { return host_ + QLatin1Char('/') + name; }
    QString host_;
    Naming naming_;
};

} // namespace

struct Folder::Listing {
    std::vector<Entry> entries;
    std::optional<Error> error;
    std::optional<QHash<QString, qsizetype>> folded; // case key -> first entry, on demand
};

Result<Folder> Folder::open(const QString& windowsPath) {
    return DiskFolder::open(toHostPath(windowsPath), windowsPath);
}

Result<Folder> Folder::openHost(const QString& hostPath) {
    return DiskFolder::open(QFileInfo(hostPath).absoluteFilePath(),
                            QDir::toNativeSeparators(hostPath), Naming::AsGiven);
}

Folder Folder::fromEntries(QString path, std::vector<Entry> entries, std::optional<Error> listError,
                           std::shared_ptr<const FolderBackend> backend) {
    Folder folder;
    folder.windowsPath_ = std::move(path);
    folder.backend_ = std::move(backend);
    folder.listing_ = std::make_shared<Listing>();
    const auto byName = [](const Entry& a, const Entry& b) { return a.name < b.name; };
    if (!std::is_sorted(entries.begin(), entries.end(), byName)) // a listing often is already
        std::sort(entries.begin(), entries.end(), byName);
    folder.listing_->entries = std::move(entries);
    folder.listing_->error = std::move(listError);
    return folder;
}

QString Folder::childPath(const QString& name) const {
    const QChar separator = backend_->separator();
    return windowsPath_.endsWith(separator) ? windowsPath_ + name : windowsPath_ + separator + name;
}

QString Folder::hostPath() const {
    return backend_->hostPath();
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
            folded.insert(detail::caseKey(listing.entries[static_cast<size_t>(i)].name), i);
        listing.folded = std::move(folded);
    }
    const auto it = listing.folded->constFind(detail::caseKey(name));
    if (it == listing.folded->constEnd())
        return std::nullopt;
    return listing.entries[static_cast<size_t>(*it)].name;
}

Result<Folder> Folder::subfolder(const QString& onDiskName) const {
    return backend_->subfolder(*this, onDiskName);
}

Result<InputFile> Folder::openFile(const QString& onDiskName) const {
    return backend_->openFile(*this, onDiskName);
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

Result<FileStamp> FolderBackend::stamp(const Folder& self, const QString& onDiskName) const {
    Result<InputFile> file = openFile(self, onDiskName);
    if (!file)
        return file.error();
    return FileStamp{file->size(), file->modified()};
}

Result<FileStamp> Folder::stamp(const QString& onDiskName) const {
    return backend_->stamp(*this, onDiskName);
}

Result<qint64> Folder::fileSize(const QString& onDiskName) const {
    return backend_->fileSize(*this, onDiskName);
}

bool Folder::isHidden(const QString& onDiskName) const {
    return backend_->isHidden(onDiskName);
}

bool Folder::isSameFolder(const Folder& other) const {
    return backend_->isSame(*other.backend_);
}

Result<Folder> Folder::reopened() const {
    return backend_->reopened(*this);
}

} // namespace huddlex::fs
