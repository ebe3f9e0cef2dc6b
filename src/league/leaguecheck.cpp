#include "league/leaguecheck.h"

#include "league/gamecheck.h"
#include "league/leaguepool.h"
#include "league/repeatedplays.h"

namespace huddlex::league {

LeagueCheck::LeagueCheck(QString poolPath, QString playFolder, QStringList gamePaths)
    : poolPath_(std::move(poolPath)), playFolder_(std::move(playFolder)),
      gamePaths_(std::move(gamePaths)) {}

LeagueResult LeagueCheck::run(const Progress& progress, const std::atomic_bool* cancel) const {
    LeagueResult result;
    const QList<GameArgument> games = ExpandGames(gamePaths_);
    const int total = int(games.size());
    const LeaguePool pool = OpenPool(poolPath_, playFolder_);
    RepeatedPlays repeated;
    for (int i = 0; i < total; ++i) {
        if (progress)
            progress(i, total, games[i].given);
        if (cancel && cancel->load()) {
            result.cancelled = true;
            break;
        }
        if (!pool.entryRoot) {
            LeagueGame game;
            game.game = games[i].given;
            game.error = QStringLiteral("Not checked: the pool could not be read");
            result.games.append(std::move(game));
            continue;
        }
        result.games.append(CheckGame(pool, games[i], repeated));
    }
    result.pool = pool.summaryNow();
    result.repeated = repeated.list();
    if (progress && !result.cancelled)
        progress(total, total, QString());
    return result;
}

} // namespace huddlex::league
