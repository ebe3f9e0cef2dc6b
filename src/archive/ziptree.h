#pragma once

#include "fs/folder.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>
#include <zip.h>

// The listing of one open archive, shared by its folders, files and ZipArchive.
namespace huddlex::archive::detail {

struct ZipFile {
    zip_uint64_t index = 0; // in the archive
    QString entryName;      // as the archive names it
    qint64 size = 0;        // as its directory gives it
    qint64 modified = 0;    // milliseconds since 1970
    QString unreadable;     // why it can never be read (encrypted, unknown method); empty if it can
};

struct ZipNode {
    QString path; // as messages name the folder
    std::vector<fs::Folder::Entry> entries;
    QHash<QString, int> folders; // name -> node
    QHash<QString, int> files;   // name -> index into ZipTree::files
};

struct ZipTree {
    zip_t* zip = nullptr;
    QByteArray bytes; // the archive itself, when it came from memory
    QString path;     // as messages name it
    std::vector<ZipNode> nodes;
    std::vector<ZipFile> files;
    QStringList problems;
    QSet<QString> noted; // entry names with a problem already said
    QStringList nested;

    ZipTree() = default;
    ZipTree(const ZipTree&) = delete;
    ZipTree& operator=(const ZipTree&) = delete;
    ~ZipTree() {
        if (zip)
            zip_discard(zip); // read only: nothing to write back
    }

    // Keeps `message` about `entryName`, the first one said about that entry only.
    void note(const QString& entryName, const QString& message) {
        if (!noted.contains(entryName)) {
            noted.insert(entryName);
            problems << message;
        }
    }
    // Lists the open archive into nodes and files; problems for what it refuses.
    void build();
};

// The folder `node` of `tree`.
fs::Folder folderOf(const std::shared_ptr<ZipTree>& tree, int node);

// Why an entry of that name is refused, or an empty string for a name that stays in its folder.
QString nameProblem(const QString& name);

// libzip's error as a reason in words.
QString zipReason(zip_error_t* error);

} // namespace huddlex::archive::detail
