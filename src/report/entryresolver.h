#pragma once

#include "fs/filelookup.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace huddlex {

// Says which file on disk a plan entry names. The report asks it for every candidate and for
// every entry of each plan; any index of the game's files that answers the same way can
// stand in for the one below.
class EntryResolver {
public:
    virtual ~EntryResolver() = default;
    // The regular file that `entry` (plan bytes, a path relative to the game folder) names,
    // or nothing. Entries that name one file give the same hostPath, whatever their spelling.
    virtual std::optional<fs::FoundFile> resolve(QByteArrayView entry) = 0;
};

// Plan bytes as the game means them: Windows-1252.
QString FromWindows1252(QByteArrayView bytes);

// The resolver on the fs layer: the game folder followed by the entry, each name matched
// ignoring letter case (an exact name first), "\" and "/" both separating and doubled ones
// reading as one. An entry with a "." or ".." part, a name Windows cannot hold, or a path
// too long for Windows names nothing, so no entry reaches outside the folder it starts in.
class FsEntryResolver final : public EntryResolver {
public:
    explicit FsEntryResolver(const QString& gameFolder);
    std::optional<fs::FoundFile> resolve(QByteArrayView entry) override;

private:
    fs::NameLookup lookup_;
    QString leadingPart_; // the game folder's text after its last backslash, usually empty
    qsizetype gameFolderLength_ = 0;
    bool usable_ = true;
};

} // namespace huddlex
