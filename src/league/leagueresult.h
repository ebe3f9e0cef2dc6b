#pragma once

#include "report/validationreport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace huddlex::league {

// What the league check found: the pool, each game in the order given, and the unknown plays
// seen in more than one game. Plain values, made by LeagueCheck::run and read by the writers
// and the window; nothing in it refers to a file still open.

struct PoolSummary {
    QString path;                 // as given
    QString playFolder;           // the main play folder's name plan paths begin with
    bool holdsPlayFolder = false; // the pool's top holds it; else the top is the play folder
    qint64 plays = 0;             // play files (".ply") in the main play folder, at any depth
    QString error;                // why the pool could not be read; empty when it was
    QStringList problems;         // what in it could not be read (entries, folders)
};

struct GamePlan {
    PlanSummary summary; // as the report gives it
    QStringList gaps;    // paths the plan's own text names that the pool lacks, first naming order
};

struct LeagueGame {
    enum class Status { Checked, Error };

    QString game; // as given
    Status status = Status::Error;
    QString error;          // when not checked: why
    QStringList problems;   // checked, but something could not be read: entries, pool files
    QString captureFolder;  // where its captured files were found, as messages name it
    QList<GamePlan> plans;  // Off1, Off2, Def1, Def2
    QStringList outcomes;   // one per capture number, as gPlayResults holds them (plan bytes)
    QList<PlayEntry> plays; // the report's plays, with the pool as library
    qint64 unknown = 0;
    qint64 gaps() const;
    bool checked() const { return status == Status::Checked; }
};

struct RepeatedPlay {
    QByteArray sha256; // of the play's bytes, in hex
    qint64 bytes = 0;
    Verdict verdict = Verdict::Unknown; // in the first game it appeared in
    QStringList games;                  // as given, in check order, each once
};

// Exit statuses of the league form of huddlex-validate, also what the window tells.
enum class LeagueStatus {
    Clean = 0,      // every play identified, no plan gap
    Findings = 1,   // unknown plays or plan gaps
    Unreadable = 4, // a game, a plan, the pool or something in them could not be read
};

struct LeagueResult {
    PoolSummary pool;
    QList<LeagueGame> games;
    QList<RepeatedPlay> repeated; // by first appearance
    bool cancelled = false;       // stopped before the last game: `games` holds those checked

    qint64 unknown() const;
    qint64 gaps() const;
    qint64 gamesChecked() const;
    LeagueStatus status() const;
};

} // namespace huddlex::league
