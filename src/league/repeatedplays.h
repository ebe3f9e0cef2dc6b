#pragma once

#include "capture/capturedplays.h"
#include "league/leagueresult.h"

#include <QHash>

namespace huddlex::league {

// The unknown plays seen in more than one game: the same bytes, whatever their names.
class RepeatedPlays {
public:
    // Plays longer than this are no game's: they are not hashed, and the game says so.
    static constexpr qint64 kMaxHashedBytes = qint64(16) << 20;

    // Hashes each unknown play of `game` that could be read (the report's verdict is not
    // "missing"), reading it from its capture folder in `captures`; a play it cannot hash is
    // added to the game's problems.
    void add(LeagueGame& game, const CapturedPlays& captures);

    // Those seen in two games or more, by first appearance.
    QList<RepeatedPlay> list() const;

private:
    struct Seen {
        RepeatedPlay play;
        qint64 order = 0;
    };
    QHash<QByteArray, Seen> bySha_;
};

} // namespace huddlex::league
