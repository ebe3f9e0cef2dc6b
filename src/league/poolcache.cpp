#include "league/poolcache.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <memory>

namespace huddlex::league {

namespace {

struct CachedFile {
    std::optional<fs::Error> error; // the file could not be opened or its prefix read
    qint64 size = 0;
    QByteArray prefix;
    qint64 modified = 0;
};

struct CacheNode {
    fs::Folder inner;
    QString path;
    struct Child {
        std::shared_ptr<CacheNode> node;
        std::optional<fs::Error> error;
    };
    QHash<QString, Child> folders;
    QHash<QString, std::shared_ptr<const CachedFile>> files;
};

fs::Folder folderOf(const std::shared_ptr<CacheNode>& node);

// A cached file: the prefix from memory, the rest from the pool, opened when first needed.
class CachedSource final : public fs::ByteSource {
public:
    CachedSource(std::shared_ptr<const CachedFile> file, fs::Folder folder, QString name)
        : file_(std::move(file)), folder_(std::move(folder)), name_(std::move(name)) {}

    qint64 size() const override { return file_->size; }
    qint64 position() const override { return position_; }
    qint64 modified() const override { return file_->modified; }

    fs::Result<qint64> read(char* into, qint64 maxBytes) override {
        const qint64 wanted = std::clamp<qint64>(file_->size - position_, 0, maxBytes);
        const qint64 held = std::clamp<qint64>(file_->prefix.size() - position_, 0, wanted);
        if (held > 0)
            std::memcpy(into, file_->prefix.constData() + position_, size_t(held));
        position_ += held;
        if (held == wanted)
            return held;
        if (fs::Status status = restAt(position_); !status)
            return status.error();
        fs::Result<qint64> got = rest_->read(into + held, wanted - held);
        if (!got)
            return got.error();
        position_ += *got;
        restPosition_ = position_;
        return held + *got;
    }

    fs::Status seek(qint64 position) override {
        position_ = position;
        return {};
    }

    qint64 dataFrom(qint64 from) const override {
        if (from < file_->prefix.size() || !rest_)
            return from;
        return rest_->dataFrom(from);
    }

private:
    fs::Status restAt(qint64 position) {
        if (!rest_) {
            fs::Result<fs::InputFile> opened = folder_.openFile(name_);
            if (!opened)
                return opened.error();
            rest_.emplace(std::move(opened).value());
            restPosition_ = 0;
        }
        if (restPosition_ != position) {
            if (fs::Status status = rest_->seek(position); !status)
                return status;
            restPosition_ = position;
        }
        return {};
    }

    std::shared_ptr<const CachedFile> file_;
    fs::Folder folder_; // the pool's own folder
    QString name_;
    qint64 position_ = 0;
    std::optional<fs::InputFile> rest_;
    qint64 restPosition_ = 0;
};

class CacheBackend final : public fs::FolderBackend {
public:
    explicit CacheBackend(std::shared_ptr<CacheNode> node) : node_(std::move(node)) {}

    fs::Result<fs::Folder> subfolder(const fs::Folder& self,
                                     const QString& onDiskName) const override {
        auto known = node_->folders.constFind(onDiskName);
        if (known == node_->folders.constEnd()) {
            CacheNode::Child child;
            fs::Result<fs::Folder> inner = node_->inner.subfolder(onDiskName);
            if (inner)
                child.node = std::make_shared<CacheNode>(
                    CacheNode{std::move(inner).value(), self.childPath(onDiskName), {}, {}});
            else
                child.error = inner.error();
            known = node_->folders.insert(onDiskName, std::move(child));
        }
        if (known->error)
            return *known->error;
        return folderOf(known->node);
    }

    fs::Result<fs::InputFile> openFile(const fs::Folder& self,
                                       const QString& onDiskName) const override {
        const std::shared_ptr<const CachedFile> file = cached(self, onDiskName);
        if (file->error)
            return *file->error;
        return fs::InputFile(std::make_unique<CachedSource>(file, node_->inner, onDiskName));
    }

    fs::Result<qint64> fileSize(const fs::Folder&, const QString& onDiskName) const override {
        if (auto known = node_->files.constFind(onDiskName); known != node_->files.constEnd())
            return (*known)->error ? fs::Result<qint64>(*(*known)->error)
                                   : fs::Result<qint64>((*known)->size);
        return node_->inner.fileSize(onDiskName);
    }

    bool isHidden(const QString& onDiskName) const override {
        return node_->inner.isHidden(onDiskName);
    }
    bool isSame(const fs::FolderBackend& other) const override {
        if (const auto* cache = dynamic_cast<const CacheBackend*>(&other))
            return cache->node_ == node_;
        const QString mine = hostPath();
        return !mine.isEmpty() && !other.hostPath().isEmpty() &&
               QFileInfo(mine).canonicalFilePath() ==
                   QFileInfo(other.hostPath()).canonicalFilePath();
    }
    fs::Result<fs::Folder> reopened(const fs::Folder&) const override { return folderOf(node_); }
    QString hostPath() const override { return node_->inner.hostPath(); }
    QChar separator() const override { return QDir::separator(); }

private:
    std::shared_ptr<const CachedFile> cached(const fs::Folder& self, const QString& name) const {
        if (auto known = node_->files.constFind(name); known != node_->files.constEnd())
            return *known;
        auto file = std::make_shared<CachedFile>();
        fs::Result<fs::InputFile> opened = node_->inner.openFile(name);
        if (opened) {
            fs::InputFile& in = opened.value();
            fs::Result<QByteArray> prefix = in.read(std::min(in.size(), kPoolPrefixBytes));
            if (prefix && prefix->size() == std::min(in.size(), kPoolPrefixBytes)) {
                file->size = in.size();
                file->prefix = std::move(prefix).value();
                file->modified = in.modified();
            } else {
                file->error = prefix ? fs::Error{fs::ErrorKind::Other,
                                                 QStringLiteral("Cannot read \"%1\": it became "
                                                                "shorter while it was read")
                                                     .arg(self.childPath(name))}
                                     : prefix.error();
            }
        } else {
            file->error = opened.error();
        }
        node_->files.insert(name, file);
        return file;
    }

    std::shared_ptr<CacheNode> node_;
};

fs::Folder folderOf(const std::shared_ptr<CacheNode>& node) {
    return fs::Folder::fromEntries(node->path, node->inner.entries(), node->inner.listError(),
                                   std::make_shared<CacheBackend>(node));
}

} // namespace

fs::Folder CachedFolder(fs::Folder inner, const QString& path) {
    return folderOf(std::make_shared<CacheNode>(CacheNode{std::move(inner), path, {}, {}}));
}

} // namespace huddlex::league
