#pragma once

#include "fs/folder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace huddlex::archive {

namespace detail {
struct ZipTree;
}

// A zip archive read in place with libzip: its folders and files are fs::Folder and
// fs::InputFile like any others, never unpacked, and nothing is ever written from them.
// Archives come from other people, so an entry is read only as far as a caller asks and never
// past the size its directory gives; an entry that holds fewer or more bytes, or fails its
// CRC, is an error of that entry. Entries whose names could lead anywhere but into their
// folder ("..", absolute paths, drive letters, backslashes, control characters) are refused.
// Every such finding is kept as one message in problems().
//
// One archive is used by one thread at a time (libzip's own rule); archives are independent.
class ZipArchive {
public:
    // More entries than a league's pool or a game folder could hold: refused before listing.
    static constexpr qint64 kMaxEntries = 100'000;

    // Opens the archive at `hostPath`; messages name it as given, with the host's separator.
    static fs::Result<ZipArchive> open(const QString& hostPath);
    // The same for an archive's bytes held in memory; `name` is what messages call it.
    static fs::Result<ZipArchive> fromBytes(const QByteArray& bytes, const QString& name);

    // The archive's top folder. Folders and files reached from it keep the archive open.
    fs::Folder root() const;
    // What made entries unreadable so far: refused names and letter-case clashes from the
    // open, then each entry that failed when read. One message per entry, in order.
    QStringList problems() const;
    // Entries that are archives themselves (".zip"), which are never opened.
    QStringList nestedArchives() const;
    qint64 entryCount() const;
    // As messages name the archive.
    QString path() const;

private:
    explicit ZipArchive(std::shared_ptr<detail::ZipTree> tree) : tree_(std::move(tree)) {}
    static fs::Result<ZipArchive> opened(std::shared_ptr<detail::ZipTree> tree);

    std::shared_ptr<detail::ZipTree> tree_;
};

} // namespace huddlex::archive
