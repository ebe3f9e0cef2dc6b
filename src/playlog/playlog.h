#pragma once

#include "common/userinterfaces.h"
#include "settings/gamepaths.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace huddlex {

inline const QString PlayLogMissing = QStringLiteral("The play.log does not exist");
inline const QString ValidateFirst = QStringLiteral("You must Validate Plays first");

// The play's name in a validation outcome: the text after the last backslash less its last
// four characters (".ply"). "Unknown Play" gives "Unknown ", trailing space included.
QString PlayNameFromPath(const QString& path);

// Where one update stands: the outcomes it draws names from and the name counter.
class PlayLogNames {
public:
    explicit PlayLogNames(const std::optional<QStringList>& gPlayResults);
    bool validated() const { return results_.has_value(); }
    // The next outcome's play name as the log's bytes, or nothing when all are used.
    std::optional<QByteArray> takeNext();
    bool hasNext() const { return results_ && counter_ < results_->size(); }
    qsizetype used() const { return counter_; }

private:
    const std::optional<QStringList>& results_;
    qsizetype counter_ = 0;
};

// Appends one converted line of play.log and a CR LF to `out`. The first "FBPlay~" in the line
// and the byte after it give way to the next play name and a space; later markers, and every
// marker once the names are used up, stay as they are. Returns false, appending nothing, when
// the line holds a marker and no validation has run.
bool WritePlayLogLine(QByteArrayView line, PlayLogNames& names, QByteArray& out);

// WritePlayLogLine over a whole log fed a chunk at a time, wherever the chunks split it: the
// same bytes, with memory bounded by the chunk however long a line is. A line ends at CR or
// CR LF; a last line without an end gets one when the log ends.
class PlayLogConverter {
public:
    explicit PlayLogConverter(PlayLogNames& names);
    // Appends what `chunk` converts to, as far as it is decided yet. Returns false when a
    // line holds a marker and no validation has run; nothing more may be fed then.
    bool feed(QByteArrayView chunk, QByteArray& out);
    // Ends the log.
    void finish(QByteArray& out);

private:
    bool searchesLine() const { return !names_.validated() || names_.hasNext(); }
    bool replaceMarker(QByteArrayView segment, qsizetype at, QByteArray& out);

    PlayLogNames& names_;
    bool searching_;        // the line's first marker may still come and would be replaced
    bool inLine_ = false;   // bytes of an unended line were fed
    bool afterCr_ = false;  // a LF right now belongs to the last line end
    bool dropNext_ = false; // the byte after a replaced marker is still to come
    QByteArray carry_;      // the line's last bytes, held back while they may begin a marker
};

enum class PlayLogUpdate {
    Written,      // FBplay.log holds the converted play.log
    Emptied,      // play.log is empty, so there is no FBplay.log
    NoPlayLog,    // "The play.log does not exist"; FBplay.log left as it was
    NotValidated, // "You must Validate Plays first"; FBplay.log left as it was
    Failed,       // any other failure, reported by a message naming it; FBplay.log left as it was
};

// Rebuilds FBplay.log in the game folder from play.log and the outcomes, replacing it only
// once the whole new file is written. A line ends at CR or CR LF (a lone LF is part of the
// line); every other byte passes unchanged. Shows its own messages. FBplay.log is one file
// whatever its letter case, as on Windows: an existing "fbplay.log" is the one replaced (or
// deleted, for an empty play.log); a symbolic link of that name is replaced, never written
// through; a folder of that name is reported and left alone. Memory stays within a chunk.
// When written, `namesUsed` (if given) receives the number of play names put in.
PlayLogUpdate UpdatePlayLog(const GamePaths& paths, const std::optional<QStringList>& gPlayResults,
                            Notifier& notifier, qsizetype* namesUsed = nullptr);

} // namespace huddlex
