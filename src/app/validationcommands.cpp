#include "app/validationcommands.h"

#include "playlog/playlog.h"
#include "report/reportinput.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

namespace huddlex {

struct ValidationCommands::Impl {
    Parts ui;
    FBPlan mFBPlan;
    RunListener runListener;
};

ValidationCommands::ValidationCommands(Parts parts)
    : d(std::make_unique<Impl>(Impl{parts, {}, {}})) {}

ValidationCommands::~ValidationCommands() = default;

void ValidationCommands::Validate() {
    Parts& ui = d->ui;
    ui.status.setPanelText(1, QStringLiteral("Status: Validating"));
    ui.progress.setProgressValue(0);
    ui.progress.setProgressVisible(true);
    // A failed load has shown its message; the run goes on with the last complete candidates.
    PlanFilesRead planFiles;
    ReadGamePlans(ui.paths, ui.store, d->mFBPlan, ui.notifier, &planFiles);
    const CapturedPlays captures = CapturedPlays::list(ui.paths);
    ValidatePlays(d->mFBPlan, ui.paths, captures,
                  {ui.progress, ui.lstUnknown, ui.status, ui.notifier});
    ui.progress.setProgressVisible(false);
    ui.status.setPanelText(1, QStringLiteral("Status: Stop"));
    // Shared copies only: the report is built when someone looks at it.
    if (d->runListener) {
        d->runListener(std::make_shared<const ReportInput>(
            ReportInput{ui.paths.gameFolder(), ui.paths, std::move(planFiles),
                        d->mFBPlan.gPlayFiles, *d->mFBPlan.gPlayResults, captures}));
    }
}

void ValidationCommands::setRunListener(RunListener listener) {
    d->runListener = std::move(listener);
}

void ValidationCommands::UpdateLog() {
    Parts& ui = d->ui;
    ui.status.setPanelText(1, QStringLiteral("Status: Working"));
    ui.status.setPanelText(2, QStringLiteral("Creating FBPlay.log"));
    UpdatePlayLog(ui.paths, d->mFBPlan.gPlayResults, ui.notifier);
    ui.status.setPanelText(1, QStringLiteral("Status: Stop"));
    ui.status.setPanelText(2, QStringLiteral("Plays: %1").arg(ui.file1.count()));
}

void ValidationCommands::ShowAllPlays() {
    d->ui.lstUnknown.setShown(false);
    d->ui.status.setPanelText(2, QStringLiteral("Plays: %1").arg(d->ui.file1.count()));
}

void ValidationCommands::ShowUnknownPlays() {
    d->ui.lstUnknown.setShown(true);
    d->ui.status.setPanelText(2, QStringLiteral("UK-P: %1").arg(d->ui.lstUnknown.count()));
}

void ValidationCommands::ToggleView() {
    if (d->ui.lstUnknown.isShown()) {
        ShowAllPlays();
    } else {
        ShowUnknownPlays();
    }
}

} // namespace huddlex
