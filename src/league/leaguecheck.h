#pragma once

#include "league/leagueresult.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace huddlex::league {

// The commissioner's check: a week (or a season) of games against the league's play pool.
//
//   LeagueCheck check(poolPath, QStringLiteral("VPNFL"), gamePaths);
//   LeagueResult result = check.run(progress, &cancel);
//   QByteArray page = LeagueHtml(result); // or LeagueJson, LeagueCsv, LeagueText
//
// The pool is a folder or a zip; each game is a game folder, a capture folder or a zip a coach
// sent holding either, and a folder of games stands for each zip and game folder in it (name
// order). Every game gets the outcomes Validate gives when the pool is the game's play folder,
// the report of those outcomes (the pool as its library), its plan gaps, and whatever could
// not be read; a game that cannot be checked is an error of that game and the others go on.
// Archives are read in place, never unpacked; nothing is written anywhere.
//
// Threads: run() reads and changes no global state (no drive letters, no message settings),
// so it may run on a worker thread while capture runs on the GUI thread. One LeagueCheck per
// run; the progress callback is called on the thread that runs it.
//
// Memory: the pool's listings and its files' first 64 KiB (read once per run, shared by the
// games), one game at a time, and the result.
class LeagueCheck {
public:
    LeagueCheck(QString poolPath, QString playFolder, QStringList gamePaths);

    // Called before each game with the games done so far, the number of games and the game
    // about to be checked, and once at the end with done == total and an empty name.
    using Progress = std::function<void(int done, int total, const QString& game)>;

    // Checks every game in order. With `cancel` set (from any thread), it stops before the next
    // game and returns what it found, `cancelled` set.
    LeagueResult run(const Progress& progress = {}, const std::atomic_bool* cancel = nullptr) const;

private:
    QString poolPath_;
    QString playFolder_;
    QStringList gamePaths_;
};

} // namespace huddlex::league
