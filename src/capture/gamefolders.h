#pragma once

#include "capture/capturedplays.h"
#include "common/timers.h"
#include "fs/filesystem.h"
#include "fs/folder.h"
#include "settings/gamepaths.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace huddlex {

// The game folder as the game names it and where it lies on the host, and whether it and its
// capture folder are there.
struct GameFolderState {
    QString windowsPath; // "C:\Sierra\FBPro97\"
    QString hostPath;    // on Linux its place in the Wine prefix; empty where it is windowsPath
    bool exists = false;
    bool captureExists = false;

    bool operator==(const GameFolderState&) const = default;
};

// Where the settings put the game folder now (one resolution, a stat or two).
GameFolderState gameFolderState(const GamePaths& paths);

// Why nothing will be captured, naming the folder both ways and where to choose another.
QString missingGameFolderText(const GameFolderState& state);

// The game folder in use and its capture folder, resolved in this one place: capture, the
// captured-files list, Delete Files, validation and the report take their folders from here,
// and nothing else composes and resolves them. They are looked at again whenever asked (a
// setting or the Wine prefix changed them) and once a second, and whoever listens is told when
// the folder in use, or whether it or its capture folder exists, changes.
class GameFolders {
public:
    static constexpr int kWatchIntervalMs = 1000;
    static inline const QString CaptureFolderName = QStringLiteral("Xferbox");

    GameFolders(GamePaths& paths, TimerFactory& timers);
    ~GameFolders();

    GamePaths& paths() const { return paths_; }

    // Told after a change is taken in; the first check always tells.
    void setListener(std::function<void(const GameFolderState&)> changed);
    // Looks at the game folder again now.
    void check();
    const GameFolderState& state() const { return state_; }

    // The game folder and its capture folder ("Xferbox" in any letter case), resolved when the
    // last check found them; nothing while they are not there.
    const std::optional<fs::Folder>& game() const { return game_; }
    const std::optional<fs::Folder>& capture() const { return capture_; }

    // Makes the capture folder when the game folder holds no entry of that name in any letter
    // case: only that last level, and only in a game folder that exists.
    fs::Status ensureCaptureFolder();
    // Whether the capture folder holds a "*.ply" file: plays of an earlier game.
    bool hasLeftoverPlays() const;
    // Deletes every file of the capture folder ("*.*"); folders inside are left alone.
    fs::DeleteReport deleteCapturedFiles();
    // The captured plays as the capture folder holds them now.
    CapturedPlays listCaptured() const;
    // The capture folder listed as it is now, or why it cannot be.
    fs::Result<fs::Folder> captureNow() const;
    // The folder plan entries start in, listed as it is now: the game folder itself, or its
    // parent when the game folder's path does not end in a backslash.
    std::optional<fs::Folder> entryRootNow() const;

private:
    void resolve();

    GamePaths& paths_;
    std::function<void(const GameFolderState&)> changed_;
    std::unique_ptr<Timer> watch_;
    GameFolderState state_;
    bool checked_ = false;
    std::optional<fs::Folder> game_;
    std::optional<fs::Folder> capture_;
};

// One message for what a deletion could not do; empty when it did everything.
QString describeDeleteProblems(const fs::DeleteReport& report);

} // namespace huddlex
