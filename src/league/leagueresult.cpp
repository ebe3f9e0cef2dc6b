#include "league/leagueresult.h"

namespace huddlex::league {

qint64 LeagueGame::gaps() const {
    qint64 count = 0;
    for (const GamePlan& plan : plans)
        count += plan.gaps.size();
    return count;
}

qint64 LeagueResult::unknown() const {
    qint64 count = 0;
    for (const LeagueGame& game : games)
        count += game.unknown;
    return count;
}

qint64 LeagueResult::gaps() const {
    qint64 count = 0;
    for (const LeagueGame& game : games)
        count += game.gaps();
    return count;
}

qint64 LeagueResult::gamesChecked() const {
    qint64 count = 0;
    for (const LeagueGame& game : games)
        count += game.checked() ? 1 : 0;
    return count;
}

LeagueStatus LeagueResult::status() const {
    bool unreadable = !pool.error.isEmpty() || !pool.problems.isEmpty();
    for (const LeagueGame& game : games)
        unreadable = unreadable || !game.checked() || !game.problems.isEmpty();
    if (unreadable)
        return LeagueStatus::Unreadable;
    return unknown() > 0 || gaps() > 0 ? LeagueStatus::Findings : LeagueStatus::Clean;
}

} // namespace huddlex::league
