#pragma once

#include "capture/capturedplays.h"
#include "common/userinterfaces.h"
#include "fs/filesystem.h"
#include "settings/gamepaths.h"
#include "validate/candidatefiles.h"
#include "validate/fbplan.h"
#include "validate/playidentifier.h"

#include <QHash>
#include <QStringList>
#include <functional>

namespace huddlex {

// 100 / n rounded to the nearest integer, halves to the even neighbour; 0 when n is 0.
int ProgressStep(qint64 n);

// The bar's value after UpDateProg(amount): 100 forces it full; a step that would carry it
// past 100 is dropped whole.
double UpDateProg(double value, int amount);
void UpDateProg(ProgressSink& bar, int amount);

// A candidate file as a run read it, with the folder that holds it, so a later look at it
// resolves nothing again.
struct CandidateStamp {
    fs::Folder folder;
    QString name; // on disk
    fs::FileStamp stamp;
};

// What identifying the captured plays found, beside the outcomes: the files it compared as
// they were then (so a report made later can tell what changed), and the candidate files it
// could not read.
struct Identification {
    QStringList outcomes; // one per capture number: a plan entry or UnknownPlay
    QList<CandidateFiles::Unreadable> unreadable;
    QHash<qint64, fs::FileStamp> captures; // by capture number, for the plays it read
    QList<CandidateStamp> candidates;      // the candidate files it read
};

// Outcomes for capture numbers 0 to plays.count() - 1, in order; a number without a file is
// UnknownPlay. `afterEach` runs after every number. Entries name files below `root` when
// given, else below the game folder of `paths`.
Identification IdentifyPlays(const FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                             const std::function<void()>& afterEach = {},
                             const std::optional<fs::Folder>& root = std::nullopt);
// The same with an identifier made by the caller over gPlayFiles of the plan (for one whose
// candidate files are shared between games). Captured plays are opened from `plays`' folder.
Identification IdentifyPlays(PlayIdentifier& identifier, const GamePaths& paths,
                             const CapturedPlays& plays,
                             const std::function<void()>& afterEach = {});

// The lines a run adds after its count when candidate files could not be read; empty when
// every one was read.
QString UnreadableCandidatesText(const QList<CandidateFiles::Unreadable>& unreadable);

// "FBPlay" + number + ".ply", as lstUnknown lists an unknown play.
QString UnknownEntry(qint64 captureNumber);

// The widgets a validation run reports to.
struct ValidationView {
    ProgressSink& progress;
    UnknownListView& lstUnknown;
    StatusSink& status;
    Notifier& notifier;
};

// Identifies captured plays 0 to plays.count() - 1 into gPlayResults, shows this run's unknown
// plays in lstUnknown (emptied first), its count in panel 2, fills the bar and reports the
// number, with the candidate files that could not be read.
Identification ValidatePlays(FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                             ValidationView view,
                             const std::optional<fs::Folder>& root = std::nullopt);

} // namespace huddlex
