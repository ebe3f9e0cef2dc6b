#pragma once

#include "league/leagueresult.h"
#include "report/validationreport.h"
#include "support/tempenvironment.h"

#include <QByteArray>
#include <QDir>
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

inline const QByteArray draw = QByteArray("FBPRO PLAY draw ").repeated(40);
inline const QByteArray blitz = QByteArray("FBPRO PLAY blitz ").repeated(30);
// Three bytes of `bytes` changed.
QByteArray edited(QByteArray bytes);

// A game whose XOff1 is `off1`, XDef2 names Blitz and captured plays are `plays`.
Files SampleGame(const QByteArray& off1, const QList<QByteArray>& plays);

// A week: a clean game, one with a modified play and a plan gap, a game folder with the same
// modified play, and a file that is no archive.
struct SampleWeek {
    TempEnvironment env;
    QString pool = env.root() + "/pool";
    QString week = env.root() + "/week";
    Files poolFiles{{"VPNFL/Off/Draw3.ply", draw}, {"VPNFL/Def/Blitz.ply", blitz}};
    Files findings =
        SampleGame("\"VPNFL\\Off\\Draw3.ply\",\"VPNFL\\Off\\Gone.ply\"\r\n", {draw, edited(blitz)});

    SampleWeek() {
        WriteFiles(pool, poolFiles);
        WriteHostFile(week + "/a-clean.zip",
                      ZipOf(SampleGame("\"VPNFL\\Off\\Draw3.ply\"\r\n", {draw, blitz})));
        WriteHostFile(week + "/b-findings.zip", ZipOf(findings, "FBPro97/"));
        WriteFiles(week + "/c-folder",
                   SampleGame("\"VPNFL\\Off\\Draw3.ply\"\r\n", {edited(blitz)}));
        WriteHostFile(week + "/d-broken.zip", "not a zip");
    }
    QString at(const QString& name) const { return QDir::toNativeSeparators(week + "/" + name); }
};

} // namespace huddlex::test
