#include "app/validationcommands.h"

#include "playlog/playlog.h"
#include "report/reportinput.h"
#include "validate/fbplan.h"
#include "validate/planreader.h"
#include "validate/validationrun.h"

namespace huddlex {

namespace {
bool isMissing(fs::ErrorKind kind) {
    return kind == fs::ErrorKind::PathNotFound || kind == fs::ErrorKind::FileNotFound;
}
} // namespace

struct ValidationCommands::Impl {
    Parts ui;
    FBPlan mFBPlan;
    RunListener runListener;
};

ValidationCommands::ValidationCommands(Parts parts)
    : d(std::make_unique<Impl>(Impl{parts, {}, {}})) {
    if (!d->ui.showCaptureState) {
        StatusSink& status = d->ui.status;
        d->ui.showCaptureState = [&status] {
            status.setPanelText(1, QStringLiteral("Status: Stop"));
        };
    }
    if (!d->ui.showStatusMessage)
        d->ui.showStatusMessage = [](const QString&) {};
}

ValidationCommands::~ValidationCommands() = default;

void ValidationCommands::Validate() {
    Parts& ui = d->ui;
    ui.status.setPanelText(1, QStringLiteral("Status: Validating"));
    ui.progress.setProgressValue(0);
    ui.progress.setProgressVisible(true);
    // The plan load re-reads the settings, which may move the game folder: the folders follow
    // before anything is read from them.
    GamePaths& paths = ui.folders.paths();
    paths.readFrom(ui.store);
    ui.folders.check();
    const CapturedPlays plays = ui.folders.listCaptured();
    if (plays.listError() && !isMissing(plays.listError()->kind)) {
        // A folder that is there but cannot be read hides the plays: "0 Unknown Plays" would
        // read as a clean game. The last run's outcomes stay.
        ui.notifier.showMessage(QStringLiteral("The captured plays could not be read: %1")
                                    .arg(plays.listError()->message));
    } else {
        // A failed load has shown its message; the run goes on with the last complete
        // candidates.
        PlanFields planFiles;
        ReadPlanFiles(ui.folders.captureNow(), paths.gFBPlayFolder.toLatin1(), d->mFBPlan,
                      ui.notifier, &planFiles);
        const std::optional<fs::Folder> root = ui.folders.entryRootNow();
        Identification run = ValidatePlays(
            d->mFBPlan, paths, plays, {ui.progress, ui.lstUnknown, ui.status, ui.notifier}, root);
        // Shared copies only: the report is built when someone looks at it.
        if (d->runListener) {
            ReportInput input = RunInput(paths.gameFolder(), paths, std::move(planFiles),
                                         d->mFBPlan.gPlayFiles, plays, std::move(run));
            input.entryRoot = root;
            input.captureFolder = plays.folder();
            d->runListener(std::make_shared<const ReportInput>(std::move(input)));
        }
    }
    ui.progress.setProgressVisible(false);
    // Capture may still run (the Edit menu works during capture): say so, not "Stop".
    ui.showCaptureState();
}

void ValidationCommands::setRunListener(RunListener listener) {
    d->runListener = std::move(listener);
}

void ValidationCommands::UpdateLog() {
    Parts& ui = d->ui;
    ui.status.setPanelText(1, QStringLiteral("Status: Working"));
    ui.status.setPanelText(2, QStringLiteral("Creating FBPlay.log"));
    qsizetype names = 0;
    const PlayLogUpdate result =
        UpdatePlayLog(ui.folders.paths(), d->mFBPlan.gPlayResults, ui.notifier, &names);
    ui.showCaptureState();
    ui.status.setPanelText(2, PlaysText(ui.file1.count()));
    // Failures have shown their message; success would otherwise change nothing on screen.
    if (result == PlayLogUpdate::Written)
        ui.showStatusMessage(
            QStringLiteral("FBplay.log: %1 play %2").arg(names).arg(names == 1 ? "name" : "names"));
    else if (result == PlayLogUpdate::Emptied)
        ui.showStatusMessage(QStringLiteral("play.log is empty"));
}

void ValidationCommands::ShowAllPlays() {
    d->ui.lstUnknown.setShown(false);
    d->ui.status.setPanelText(2, PlaysText(d->ui.file1.count()));
}

void ValidationCommands::ShowUnknownPlays() {
    d->ui.lstUnknown.setShown(true);
    d->ui.status.setPanelText(2, UnknownCountText(d->ui.lstUnknown.count()));
}

void ValidationCommands::ToggleView() {
    if (d->ui.lstUnknown.isShown()) {
        ShowAllPlays();
    } else {
        ShowUnknownPlays();
    }
}

} // namespace huddlex
