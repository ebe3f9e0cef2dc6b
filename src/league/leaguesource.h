#pragma once

#include "archive/ziparchive.h"
#include "fs/folder.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace huddlex::league {

// A folder or a zip archive the user named, opened to be read in place.
struct OpenedSource {
    std::optional<fs::Folder> root;
    std::optional<archive::ZipArchive> archive; // when it is one
    QString error;                              // when it could not be opened

    // What in the archive could not be read so far (nothing for a folder).
    QStringList problems() const { return archive ? archive->problems() : QStringList(); }
};

// A folder is read as it is; any other file as a zip archive.
OpenedSource OpenSource(const QString& hostPath);

// A GAME argument: as the user gave it (or as the folder of games it came from names it) and
// where it is.
struct GameArgument {
    QString given;
    QString hostPath;
};

// The games that `paths` name, in order. A game folder, a capture folder or a zip is one game;
// a folder that is neither (no XOff1.pln in it or in a folder right below it) is a folder of
// games: each ".zip" and each game folder in it, in name order. Nothing is read but listings.
QList<GameArgument> ExpandGames(const QStringList& paths);

// The one folder below `root` (itself included, at any depth) that holds "XOff1.pln", letter
// case ignored; hidden folders and linked ones are not searched. None, or several, is an error
// that says which (and, when none, the archives inside it, which are never opened).
fs::Result<fs::Folder> FindCaptureFolder(const fs::Folder& root, const QStringList& nestedArchives);

} // namespace huddlex::league
