#pragma once

#include "common/timers.h"
#include "settings/gamepaths.h"

#include <QString>
#include <functional>
#include <memory>

namespace huddlex {

// The game folder as the game names it and where it lies on the host, and whether it is there.
struct GameFolderState {
    QString windowsPath; // "C:\Sierra\FBPro97\"
    QString hostPath;    // on Linux its place in the Wine prefix; empty where it is windowsPath
    bool exists = false;

    bool operator==(const GameFolderState&) const = default;
};

GameFolderState gameFolderState(const GamePaths& paths);

// Why nothing will be captured, naming the folder both ways and where to choose another.
QString missingGameFolderText(const GameFolderState& state);

// Looks whether the game folder exists once a second (a stat or two) and whenever asked, and
// tells `changed` when the folder, or whether it exists, changes; the first check always tells.
class GameFolderWatch {
public:
    static constexpr int kIntervalMs = 1000;

    GameFolderWatch(const GamePaths& paths, TimerFactory& timers,
                    std::function<void(const GameFolderState&)> changed);
    ~GameFolderWatch();

    void check();

private:
    const GamePaths& paths_;
    std::function<void(const GameFolderState&)> changed_;
    std::unique_ptr<Timer> timer_;
    GameFolderState state_;
    bool checked_ = false;
};

} // namespace huddlex
