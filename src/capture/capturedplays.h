#pragma once

#include "fs/folder.h"
#include "settings/gamepaths.h"

#include <QHash>
#include <QString>
#include <optional>

namespace huddlex {

// The captured plays of the capture folder by capture number, from one listing of it: every
// ordinary file named "FBplay<N>.ply", letter case ignored, N plain decimal (no sign, no
// leading zero). Other ".ply" files are not captures and shift nothing.
class CapturedPlays {
public:
    // Numbers above this are not capture numbers: a stray name must not make a validation
    // run step through billions of missing plays.
    static constexpr qint64 kMaxNumber = 999'999;

    CapturedPlays() = default;

    // Lists the capture folder of `paths` once; a missing or unreadable folder lists nothing,
    // and listError() says why.
    static CapturedPlays list(const GamePaths& paths);
    // The same for a capture folder already opened (or why it could not be).
    static CapturedPlays list(const fs::Result<fs::Folder>& folder);
    // The same from on-disk names, for callers that already listed the folder.
    static CapturedPlays fromNames(const QStringList& onDiskNames);

    // One more than the highest capture number found, 0 when there is none: validation covers
    // 0 to count() - 1 and capture continues at count().
    qint64 count() const { return highest_ + 1; }

    // The on-disk name of capture `number`, or nothing for a gap. Where several spellings name
    // one number, the exact "FBplay<N>.ply" wins, else the first in name order.
    std::optional<QString> name(qint64 number) const;

    // The capture number a file name stands for, or -1 when it is not a captured play's name.
    static qint64 numberOf(const QString& fileName);

    // "FBplay<N>.ply", the name capture gives play N.
    static QString canonicalName(qint64 number);

    // Why list() found no folder to read (missing, access denied, not a folder, a read error):
    // a run over it has not seen the captured plays. Nothing when it was read.
    const std::optional<fs::Error>& listError() const { return listError_; }

    // The capture folder as list() read it, to open plays without resolving it again; nothing
    // for fromNames() or when it could not be opened.
    const std::optional<fs::Folder>& folder() const { return folder_; }

private:
    QHash<qint64, QString> names_;
    qint64 highest_ = -1;
    std::optional<fs::Error> listError_;
    std::optional<fs::Folder> folder_;
};

} // namespace huddlex
