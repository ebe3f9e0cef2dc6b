#pragma once

#include "capture/gamefolders.h"
#include "common/timers.h"
#include "common/userinterfaces.h"
#include "settings/settingsstore.h"

#include <QDateTime>
#include <memory>
#include <optional>

namespace huddlex {

// The six polling timers that copy the game's transferred plans and plays into the
// capture folder (owned by the main window for the whole run).
class CaptureEngine {
public:
    struct Parts {
        GameFolders& folders; // where the game writes and where copies go
        const SettingsStore& store;
        TimerFactory& timers;
        StatusSink& status;
        PlayListView& file1;
        // Where failed copies are reported; without one they only go to the debug log.
        CaptureProblemSink* problems = nullptr;
    };

    enum class TimerId { Timer1, Timer2, Timer3, Timer4, Timer5, timerPlay };

    explicit CaptureEngine(Parts parts);
    ~CaptureEngine();

    void StartCapture();
    void StopCapture();
    // Arms Timer5 for a copy that is taken even if the temp file was captured before.
    void Command1Click();

    // Writes panel 1 for the state capture is in: "Status: Running", "Status: Stop", or the
    // copy problem that no good capture has cleared yet. For commands that wrote their own
    // activity there.
    void showState();

    // The next capture number; a number whose name is taken in the capture folder is passed
    // over, so no capture ever replaces a file. An int, so numbering goes on past 32,767.
    int PlayCount() const;
    void setPlayCount(int count);

    // Modification time of the play temp file when it was last taken; empty before the first.
    std::optional<QDateTime> LastPlayTime() const;
    int Plan1Ticks() const;
    int Plan2Ticks() const;
    bool isTimerEnabled(TimerId id) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace huddlex
