#pragma once

#include "capture/capturedplays.h"
#include "common/userinterfaces.h"
#include "settings/gamepaths.h"
#include "validate/fbplan.h"

#include <QStringList>
#include <functional>

namespace huddlex {

// 100 / n rounded to the nearest integer, halves to the even neighbour; 0 when n is 0.
int ProgressStep(qint64 n);

// The bar's value after UpDateProg(amount): 100 forces it full; a step that would carry it
// past 100 is dropped whole.
double UpDateProg(double value, int amount);
void UpDateProg(ProgressSink& bar, int amount);

// Outcomes for capture numbers 0 to plays.count() - 1, in order; a number without a file is
// UnknownPlay. `afterEach` runs after every number.
QStringList IdentifyPlays(const FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                          const std::function<void()>& afterEach = {});

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
// number. Returns the number of unknown plays.
qint64 ValidatePlays(FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                     ValidationView view);

} // namespace huddlex
