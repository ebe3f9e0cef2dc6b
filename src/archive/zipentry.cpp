#include "archive/ziptree.h"
#include "fs/failure.h"

#include <QDir>
#include <algorithm>

namespace huddlex::archive::detail {

namespace {

const QString CannotRead = QStringLiteral("Cannot read");

fs::Error entryError(const QString& shown, const QString& reason) {
    return fs::Error{fs::ErrorKind::Other,
                     QStringLiteral("%1 \"%2\": %3").arg(CannotRead, shown, reason)};
}

// One entry, decompressed as it is read. Never more than its declared size is handed out; the
// end is checked once reached: one more byte there means the entry is longer than declared,
// and libzip checks the CRC when it sees the end.
class ZipEntrySource final : public fs::ByteSource {
public:
    ZipEntrySource(std::shared_ptr<ZipTree> tree, int file, QString shown)
        : tree_(std::move(tree)), file_(tree_->files[size_t(file)]), shown_(std::move(shown)) {}
    ~ZipEntrySource() override { close(); }

    qint64 size() const override { return file_.size; }
    qint64 position() const override { return position_; }
    qint64 modified() const override { return file_.modified; }

    fs::Result<qint64> read(char* into, qint64 maxBytes) override {
        if (failed_)
            return *failed_;
        const qint64 wanted = std::clamp<qint64>(file_.size - position_, 0, maxBytes);
        qint64 total = 0;
        while (total < wanted) {
            if (!stream_ && !reopen())
                return *failed_;
            const zip_int64_t got = zip_fread(stream_, into + total, zip_uint64_t(wanted - total));
            if (got < 0)
                return fail(zipReason(zip_file_get_error(stream_)));
            if (got == 0)
                return fail(QStringLiteral("it holds fewer bytes than the %1 its archive gives")
                                .arg(file_.size));
            total += got;
            position_ += got;
        }
        if (position_ == file_.size && !checkedEnd_) {
            if (fs::Status end = checkEnd(); !end)
                return end.error();
        }
        return total;
    }

    fs::Status seek(qint64 position) override {
        if (failed_)
            return *failed_;
        if (position < position_) {
            close(); // a stream only goes forward: start it again
            position_ = 0;
        }
        // Forward by reading and dropping, never past the declared end.
        const qint64 target = std::min(position, file_.size);
        while (position_ < target) {
            scratch_.resize(qsizetype(std::min<qint64>(target - position_, 64 * 1024)));
            fs::Result<qint64> got = read(scratch_.data(), scratch_.size());
            if (!got)
                return got.error();
        }
        position_ = std::max(position_, position);
        return {};
    }

private:
    // Starts the stream at the entry's first byte: it is closed only there, or once failed.
    bool reopen() {
        if (!file_.unreadable.isEmpty()) {
            fail(file_.unreadable);
            return false;
        }
        stream_ = zip_fopen_index(tree_->zip, file_.index, 0);
        if (!stream_) {
            fail(zipReason(zip_get_error(tree_->zip)));
            return false;
        }
        return true;
    }

    fs::Status checkEnd() {
        if (!stream_ && !reopen())
            return *failed_;
        char extra = 0;
        const zip_int64_t got = zip_fread(stream_, &extra, 1);
        if (got < 0)
            return fail(zipReason(zip_file_get_error(stream_)));
        if (got > 0)
            return fail(QStringLiteral("it holds more bytes than the %1 its archive gives")
                            .arg(file_.size));
        checkedEnd_ = true;
        return {};
    }

    fs::Error fail(const QString& reason) {
        failed_ = entryError(shown_, reason);
        tree_->note(file_.entryName, failed_->message);
        close();
        return *failed_;
    }

    void close() {
        if (stream_)
            zip_fclose(stream_);
        stream_ = nullptr;
    }

    std::shared_ptr<ZipTree> tree_;
    const ZipFile& file_;
    QString shown_;
    zip_file_t* stream_ = nullptr;
    qint64 position_ = 0;
    bool checkedEnd_ = false;
    std::optional<fs::Error> failed_;
    QByteArray scratch_;
};

// One folder of an archive.
class ZipFolder final : public fs::FolderBackend {
public:
    ZipFolder(std::shared_ptr<ZipTree> tree, int node) : tree_(std::move(tree)), node_(node) {}

    fs::Result<fs::Folder> subfolder(const fs::Folder& self,
                                     const QString& onDiskName) const override {
        const int child = node().folders.value(onDiskName, -1);
        if (child < 0)
            return fs::detail::makeShownError(fs::ErrorKind::PathNotFound,
                                              QStringLiteral("Cannot open the folder"),
                                              self.childPath(onDiskName));
        return folderOf(tree_, child);
    }
    fs::Result<fs::InputFile> openFile(const fs::Folder& self,
                                       const QString& onDiskName) const override {
        const int file = node().files.value(onDiskName, -1);
        if (file < 0)
            return fs::detail::makeShownError(node().folders.contains(onDiskName)
                                                  ? fs::ErrorKind::NotRegularFile
                                                  : fs::ErrorKind::FileNotFound,
                                              CannotRead, self.childPath(onDiskName));
        const ZipFile& entry = tree_->files[size_t(file)];
        if (!entry.unreadable.isEmpty()) {
            fs::Error error = entryError(self.childPath(onDiskName), entry.unreadable);
            tree_->note(entry.entryName, error.message);
            return error;
        }
        return fs::InputFile(
            std::make_unique<ZipEntrySource>(tree_, file, self.childPath(onDiskName)));
    }
    fs::Result<qint64> fileSize(const fs::Folder& self, const QString& onDiskName) const override {
        const int file = node().files.value(onDiskName, -1);
        if (file < 0)
            return fs::detail::makeShownError(fs::ErrorKind::FileNotFound, CannotRead,
                                              self.childPath(onDiskName));
        return tree_->files[size_t(file)].size;
    }
    bool isHidden(const QString& onDiskName) const override {
        return onDiskName.startsWith(QLatin1Char('.'));
    }
    bool isSame(const fs::FolderBackend& other) const override {
        const auto* zip = dynamic_cast<const ZipFolder*>(&other);
        return zip && zip->tree_ == tree_ && zip->node_ == node_;
    }
    fs::Result<fs::Folder> reopened(const fs::Folder&) const override {
        return folderOf(tree_, node_); // the archive is held open: it is as it was
    }
    QChar separator() const override { return QDir::separator(); }

private:
    const ZipNode& node() const { return tree_->nodes[size_t(node_)]; }

    std::shared_ptr<ZipTree> tree_;
    int node_;
};

} // namespace

fs::Folder folderOf(const std::shared_ptr<ZipTree>& tree, int node) {
    const ZipNode& folder = tree->nodes[size_t(node)];
    return fs::Folder::fromEntries(folder.path, folder.entries, std::nullopt,
                                   std::make_shared<ZipFolder>(tree, node));
}

} // namespace huddlex::archive::detail
