#pragma once

#include "league/leagueresult.h"
#include "report/validationreport.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace huddlex::test {

// Files by path ('/' between folders) and content.
using Files = QList<QPair<QString, QByteArray>>;

// A league made from a seed: a pool (paths below the main play folder VPNFL) with families of
// near-identical plays, letter cases and a few long plays; games (paths below the game folder)
// whose plans name pool plays in other letter cases, some that the pool lacks, and whose
// captured plays are pool plays, prefixes, modified and extended copies, plays of other games,
// empty files and gaps in the numbers.
struct GeneratedLeague {
    Files pool;
    QList<Files> games;
};
GeneratedLeague GenerateLeague(quint32 seed, int games);

// Writes `files` below `hostFolder`, each path after `prefix`.
void WriteFiles(const QString& hostFolder, const Files& files, const QString& prefix = {});
// A zip of `files`, each name after `prefix`.
QByteArray ZipOf(const Files& files, const QString& prefix = {});
void WriteHostFile(const QString& hostPath, const QByteArray& bytes);

// What a play came to, in one line: outcome, verdict and what it names, its size.
QString PlayLine(const QString& outcome, const PlayEntry& play);

// Validate and its report on the game folder C:\Sierra\FBPro97 of the current scratch
// environment, as the window runs them: one line per play.
QStringList ValidateLines();

// The same lines from a game of the league check.
QStringList LeagueLines(const league::LeagueGame& game);

} // namespace huddlex::test
