#pragma once

#include "capture/gamefolders.h"
#include "common/userinterfaces.h"
#include "settings/settingsstore.h"

#include <functional>
#include <memory>

namespace huddlex {

struct ReportInput;

// The Edit menu's Validate and Update Log commands and the two play views, as the main
// window's controller calls them. The toolbar's "let pending events run" pass happens in
// the controller before it calls Validate or UpdateLog.
class ValidationCommands {
public:
    struct Parts {
        GameFolders& folders;
        SettingsStore& store;
        Notifier& notifier;
        StatusSink& status;
        ProgressSink& progress;
        PlayListView& file1;
        UnknownListView& lstUnknown;
        // Writes panel 1 for the state capture is in once a command is done; without it,
        // "Status: Stop".
        std::function<void()> showCaptureState = {};
        // Shows a short result in the status bar for a few seconds.
        std::function<void(const QString&)> showStatusMessage = {};
    };
    explicit ValidationCommands(Parts parts);
    ~ValidationCommands();

    void Validate();
    void UpdateLog();
    void ShowAllPlays();     // View, "&All Plays"
    void ShowUnknownPlays(); // View, "&Unknown Plays"
    void ToggleView();       // toolbar bView

    // Called at the end of every validation run with what its report explains.
    using RunListener = std::function<void(std::shared_ptr<const ReportInput>)>;
    void setRunListener(RunListener listener);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace huddlex
