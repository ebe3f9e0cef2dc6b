#include "capture/gamefolderwatch.h"

#include "fs/drivemap.h"
#include "fs/filesystem.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex {

GameFolderState gameFolderState(const GamePaths& paths) {
    GameFolderState state;
    state.windowsPath = paths.gameFolder();
    // One lookup a second: the host path found is also the one whose existence counts.
    const QString host = fs::toHostPath(state.windowsPath);
    QString asWritten = state.windowsPath;
    while (asWritten.endsWith(QLatin1Char('\\')))
        asWritten.chop(1);
    if (QDir::toNativeSeparators(host).compare(asWritten, Qt::CaseInsensitive) != 0)
        state.hostPath = QDir::toNativeSeparators(host);
    state.exists = QFileInfo(host).isDir();
    return state;
}

QString missingGameFolderText(const GameFolderState& state) {
    QString text = QStringLiteral("The game folder does not exist:\n") + state.windowsPath;
    if (!state.hostPath.isEmpty())
        text += QStringLiteral("\non this computer: ") + state.hostPath;
    text += QStringLiteral("\nNothing is captured until it is there.\n");
    text +=
        fs::DriveMap::mapsWinePrefix()
            ? QStringLiteral("Choose the game's Wine prefix, drive and version in View, Settings.")
            : QStringLiteral("Choose the game's drive and version in View, Settings.");
    return text;
}

GameFolderWatch::GameFolderWatch(const GamePaths& paths, TimerFactory& timers,
                                 std::function<void(const GameFolderState&)> changed)
    : paths_(paths), changed_(std::move(changed)),
      timer_(timers.create(kIntervalMs, [this] { check(); })) {
    timer_->setEnabled(true);
}

GameFolderWatch::~GameFolderWatch() = default;

void GameFolderWatch::check() {
    GameFolderState now = gameFolderState(paths_);
    if (checked_ && now == state_)
        return;
    checked_ = true;
    state_ = std::move(now);
    changed_(state_);
}

} // namespace huddlex
