#pragma once

#include "capture/capturedplays.h"
#include "report/playlibrary.h"
#include "settings/gamepaths.h"
#include "validate/planreader.h"
#include "validate/playpathlist.h"
#include "validate/validationrun.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace huddlex {

// What a validation run hands to its report: everything the report explains, taken when the
// run ends (shared copies, no file access), so building the report can wait until it is shown.
struct ReportInput {
    QString gameFolder; // as the user knows it: the game folder, or GAME_FOLDER on the command line
    GamePaths paths;    // as the run used them
    PlanFields plans;   // XOff1, XDef1, XOff2, XDef2 as the run's plan load read them
    std::optional<PlayPathList> gPlayFiles; // the candidates the run compared with
    QStringList gPlayResults;               // the run's outcomes, one per capture number
    CapturedPlays captures;                 // the listing the run numbered the plays by
    // Where plan entries start and where the captured plays lie, when they are not the game
    // folder of `paths` and its capture folder (a league's pool, a game read from an archive).
    std::optional<fs::Folder> entryRoot;
    std::optional<fs::Folder> captureFolder;
    // The library listed already, by ScanLibrary below entryRoot, for callers that report on
    // many games against one library (a league's pool); else the report lists it when needed.
    std::optional<PlayLibrary> library;
    // What the run compared, as it was then, and the candidate files it could not read.
    QHash<qint64, fs::FileStamp> captureStamps;
    QList<CandidateStamp> candidateStamps;
    QList<CandidateFiles::Unreadable> unreadable;
};

// The input of a run from what it read and what it identified; the folders and the library
// are set by callers that have them.
inline ReportInput RunInput(QString gameFolder, const GamePaths& paths, PlanFields plans,
                            std::optional<PlayPathList> gPlayFiles, CapturedPlays captures,
                            Identification run) {
    ReportInput input;
    input.gameFolder = std::move(gameFolder);
    input.paths = paths;
    input.plans = std::move(plans);
    input.gPlayFiles = std::move(gPlayFiles);
    input.captures = std::move(captures);
    input.gPlayResults = std::move(run.outcomes);
    input.captureStamps = std::move(run.captures);
    input.candidateStamps = std::move(run.candidates);
    input.unreadable = std::move(run.unreadable);
    return input;
}

} // namespace huddlex
