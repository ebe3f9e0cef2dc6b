#pragma once

#include "league/leagueresult.h"

#include <QByteArray>

namespace huddlex::league {

// The league check's result in the command's plain form: a line for the pool, then one block
// per game (its name; the lines huddlex-validate prints for one game, or why it could not be
// checked; its plan gaps; what could not be read), the repeated unknown plays and one summary
// line. Outcomes keep the plans' bytes; the rest is UTF-8.
QByteArray LeagueText(const LeagueResult& result);

// One JSON object (UTF-8): pool (path, play_folder, holds_play_folder, plays, problems, error
// when it could not be read), games (per game in order: game, status "checked" or "error",
// error when not checked, capture_folder, plans as the report's with gaps, plays exactly as the
// report's, unknown, problems), repeated (sha256, bytes, verdict, games), and the totals
// unknown, gaps and status (the exit status).
QByteArray LeagueJson(const LeagueResult& result);

// CSV (UTF-8, RFC 4180): one row per captured play, the game first, then the report's columns
// and an error column; a game that could not be checked is one row with only its game and its
// error.
QByteArray LeagueCsv(const LeagueResult& result);

// One self-contained HTML page (no script, nothing fetched, a print style): the pool, a table
// of the games, then per game its plans with their gaps and its plays, unknown plays and gaps
// standing out, each modified play's differing bytes beside the pool's play; the repeated
// unknown plays.
QByteArray LeagueHtml(const LeagueResult& result);

} // namespace huddlex::league
