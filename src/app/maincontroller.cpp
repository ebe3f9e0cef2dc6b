#include "app/maincontroller.h"

#include "app/reportcommand.h"
#include "app/validationcommands.h"
#include "capture/capturedplays.h"
#include "capture/gamefolders.h"
#include "fs/folderops.h"
#include "settings/wineprefixsetting.h"
#include "ui/contextids.h"
#include "ui/dialogs.h"
#include "ui/existingfilesdialog.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/playlists.h"

#include <QAction>
#include <QCoreApplication>

namespace huddlex {

using ui::MenuArray;

namespace {

// Start-up goes past a missing folder but stops at any other failure.
bool mayContinue(const fs::Status& status) {
    return status.ok() || status.kind() == fs::ErrorKind::PathNotFound;
}

} // namespace

MainController::MainController(SettingsStore& store, TimerFactory& timers)
    : MainController(store, timers, Seams{}) {}

MainController::MainController(SettingsStore& store, TimerFactory& timers, Seams seams)
    : store_(store), seams_(std::move(seams)), window_(std::make_unique<ui::MainWindow>()) {
    if (!seams_.notifier) {
        ownNotifier_ = std::make_unique<ui::MessageBoxNotifier>(window_.get());
        seams_.notifier = ownNotifier_.get();
    }
    if (!seams_.askDeleteLeftovers)
        seams_.askDeleteLeftovers = [] {
            return ui::frmExistingFiles().exec() == QDialog::Accepted;
        };
    if (!seams_.openSettings)
        seams_.openSettings = [this] {
            // Drive, version and prefix move the game folder at once, while the dialog is open.
            ShowSettingsDialog(store_, paths_, window_.get(), [this] { folders_->check(); });
        };
    if (!seams_.openAbout)
        seams_.openAbout = [this] { ShowAboutBox(window_.get()); };
    if (!seams_.exitProgram)
        seams_.exitProgram = [] { QCoreApplication::exit(0); };
    if (!seams_.processPendingEvents)
        seams_.processPendingEvents = [] { QCoreApplication::processEvents(); };

    ui::MainWindow& w = *window_;
    folders_ = std::make_unique<GameFolders>(paths_, timers);
    folders_->setListener([this](const GameFolderState& state) { takeGameFolder(state); });
    capture_ = std::make_unique<CaptureEngine>(CaptureEngine::Parts{
        *folders_, store_, timers, w.StatusBar1(), w.File1(), &w.StatusBar1()});
    validation_ = std::make_unique<ValidationCommands>(
        ValidationCommands::Parts{*folders_, store_, *seams_.notifier, w.StatusBar1(), w, w.File1(),
                                  w.lstUnknown(), [this] { capture_->showState(); },
                                  [this](const QString& text) { showStatusMessage(text); }});
    report_ = std::make_unique<ReportCommand>(w);
    validation_->setRunListener(
        [this](std::shared_ptr<const ReportInput> run) { report_->runFinished(std::move(run)); });
    messageTimer_ = timers.create(kStatusMessageMs, [this] {
        if (--messagePeriodsLeft_ > 0)
            return;
        messageTimer_->setEnabled(false);
        window_->StatusBar1().clearMessage();
    });
    connect(&w, &ui::MainWindow::menuClicked, this, &MainController::routeMenu);
    connect(&w, &ui::MainWindow::onTopClicked, this, &MainController::mnuOnTop_Click);
    connect(&w, &ui::MainWindow::toolbarClicked, this, &MainController::Toolbar1_ButtonClick);
    connect(&w, &ui::MainWindow::command1Clicked, this, &MainController::Command1_Click);
    // The reason for "Copy failed", whole, on a click: no box pops up by itself during capture.
    connect(&w.StatusBar1(), &ui::StatusBar::problemClicked, this,
            [this](const QString& reason) { seams_.notifier->showMessage(reason); });
    connect(&w, &ui::MainWindow::unloading, this, &MainController::Form_UnLoad);
}

MainController::~MainController() = default;

ui::MainWindow& MainController::window() const {
    return *window_;
}
CaptureEngine& MainController::capture() const {
    return *capture_;
}
ReportCommand& MainController::report() const {
    return *report_;
}

void MainController::Form_Load() {
    ContextIDs::InitHelp(window_.get());
    paths_.readFrom(store_);
    // Before anything is composed from the paths: a first start may pick the prefix and version.
    const PrefixStartup startup = huddlex::settleWinePrefix(store_, paths_, sessionPrefix_);
    if (!startup.note.isEmpty())
        showStatusMessage(startup.note, startup.details, kStartupNotePeriods);
    folders_->check(); // the first look always takes the folder in
}

void MainController::takeGameFolder(const GameFolderState& state) {
    window_->StatusBar1().setGameFolderHint(state.exists ? QString()
                                                         : missingGameFolderText(state));
    if (!state.exists)
        return; // File1 keeps what it lists until there is a folder to list
    // A folder that cannot be made (a failure other than a missing folder) ends the steps; the
    // copies then say why nothing is captured.
    if (!mayContinue(folders_->ensureCaptureFolder()))
        return;
    if (folders_->hasLeftoverPlays() && seams_.askDeleteLeftovers()) {
        const QString problems = describeDeleteProblems(folders_->deleteCapturedFiles());
        if (!problems.isEmpty())
            seams_.notifier->showMessage(problems);
    }
    const std::optional<fs::Folder>& captureFolder = folders_->capture();
    if (!captureFolder)
        return;
    ui::FileListBox& file1 = window_->File1();
    file1.setFolder(*captureFolder);
    window_->StatusBar1().setPanelText(2, PlaysText(file1.count()));
    // Numbering goes on after the highest capture, so a gap or a stray ".ply" file never
    // makes a new capture land on an earlier one.
    capture_->setPlayCount(int(folders_->listCaptured().count()));

    // A play left from before must not be taken as a new one.
    const QString staleTemp = QStringLiteral("FBPlay~.tmp");
    if (fs::existsExactly(*folders_->game(), staleTemp))
        (void)fs::removeFile(*folders_->game(), staleTemp); // last step: a failure just ends it
}

void MainController::Form_UnLoad() {
    ContextIDs::QuitHelp();
}

void MainController::routeMenu(MenuArray array, int index) {
    switch (array) {
    case MenuArray::mnuFile:
        return mnuFile_Click(index);
    case MenuArray::mnuEdit:
        return mnuEdit_Click(index);
    case MenuArray::mnuView:
        return mnuView_Click(index);
    case MenuArray::mnuHelp:
        return mnuHelp_Click(index);
    }
}

void MainController::mnuFile_Click(int index) {
    switch (index) {
    case ui::FileItem::Start:
        return capture_->StartCapture();
    case ui::FileItem::Stop:
        return capture_->StopCapture();
    case ui::FileItem::Exit:
        return seams_.exitProgram();
    }
}

void MainController::mnuEdit_Click(int index) {
    switch (index) {
    case ui::EditItem::ValidatePlays:
        return validation_->Validate();
    case ui::EditItem::UpdateLog:
        return validation_->UpdateLog();
    case ui::EditItem::DeleteFiles:
        return DeleteFiles();
    }
}

void MainController::mnuView_Click(int index) {
    switch (index) {
    case ui::ViewItem::AllPlays:
        return validation_->ShowAllPlays();
    case ui::ViewItem::UnknownPlays:
        return validation_->ShowUnknownPlays();
    case ui::ViewItem::Settings:
        seams_.openSettings();
        if (const SettingsStore::WriteFailure notSaved = store_.notSaved())
            showStatusMessage(QStringLiteral("Settings not saved"),
                              *notSaved + QStringLiteral("\nThe changes are used until Huddlex "
                                                         "ends."),
                              kStartupNotePeriods);
        return folders_->check(); // whatever the dialog did, the folders follow it
    case ui::ViewItem::Report:
        return report_->Open();
    }
}

void MainController::mnuHelp_Click(int index) {
    switch (index) {
    case ui::HelpItem::Contents:
        return ContextIDs::ShowHelpContents();
    case ui::HelpItem::About:
        return seams_.openAbout();
    }
}

void MainController::mnuOnTop_Click() {
    window_->ToggleOnTop();
}

void MainController::setCaptureButtons(bool running) {
    window_->toolbarButton(1)->setChecked(running);
    for (int index : {4, 5, 6, 7})
        window_->toolbarButton(index)->setEnabled(!running);
}

void MainController::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("bStart")) {
        setCaptureButtons(true);
        capture_->StartCapture();
    } else if (key == QLatin1String("bStop")) {
        setCaptureButtons(false);
        capture_->StopCapture();
    } else if (key == QLatin1String("bValidate")) {
        seams_.processPendingEvents();
        validation_->Validate();
    } else if (key == QLatin1String("bLog")) {
        seams_.processPendingEvents();
        validation_->UpdateLog();
    } else if (key == QLatin1String("bView")) {
        validation_->ToggleView();
    } else if (key == QLatin1String("bHelp")) {
        ContextIDs::ShowHelpContents();
    }
}

void MainController::Command1_Click() {
    capture_->Command1Click();
}

void MainController::showStatusMessage(const QString& text, const QString& details, int periods) {
    window_->StatusBar1().showMessage(text, details);
    messagePeriodsLeft_ = periods;
    messageTimer_->setEnabled(false); // a new message gets its full time
    messageTimer_->setEnabled(true);
}

void MainController::DeleteFiles() {
    const fs::DeleteReport deleted = folders_->deleteCapturedFiles();
    window_->File1().refresh();
    capture_->setPlayCount(0);
    // Its verdicts were about the files just deleted.
    report_->runFinished(nullptr);
    if (const QString problems = describeDeleteProblems(deleted); !problems.isEmpty())
        seams_.notifier->showMessage(problems);
}

} // namespace huddlex
