#pragma once

#include "league/leaguepool.h"
#include "league/repeatedplays.h"

namespace huddlex::league {

// One game against the pool: its capture folder found, its plans read and its captured plays
// identified as Validate does, then the report, the plan gaps and the unknown plays' hashes.
// What fails makes the game an error (its capture folder, its plans or its captured plays
// cannot be read) or one of its problems (an entry, a pool file); nothing is thrown.
LeagueGame CheckGame(const LeaguePool& pool, const GameArgument& game, RepeatedPlays& repeated);

} // namespace huddlex::league
