#include "capture/gamefolders.h"

#include "fs/drivemap.h"
#include "fs/folderops.h"

#include <QDir>
#include <QFileInfo>

namespace huddlex {

GameFolderState gameFolderState(const GamePaths& paths) {
    GameFolderState state;
    state.windowsPath = paths.gameFolder();
    // One lookup: the host path found is also the one whose existence counts.
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

GameFolders::GameFolders(GamePaths& paths, TimerFactory& timers)
    : paths_(paths), watch_(timers.create(kWatchIntervalMs, [this] { check(); })) {
    watch_->setEnabled(true);
}

GameFolders::~GameFolders() = default;

void GameFolders::setListener(std::function<void(const GameFolderState&)> changed) {
    changed_ = std::move(changed);
}

void GameFolders::check() {
    GameFolderState now = gameFolderState(paths_);
    // The capture folder's place follows from the game folder's; only whether it is there can
    // change on its own.
    if (now.exists && (!checked_ || now.windowsPath != state_.windowsPath ||
                       now.hostPath != state_.hostPath || !state_.exists || !capture_)) {
        resolve();
    } else if (now.exists && capture_) {
        if (!QFileInfo(capture_->hostPath()).isDir())
            capture_.reset();
    } else if (!now.exists) {
        game_.reset();
        capture_.reset();
    }
    now.captureExists = capture_.has_value();
    if (checked_ && now == state_)
        return;
    checked_ = true;
    state_ = std::move(now);
    if (changed_)
        changed_(state_);
}

void GameFolders::resolve() {
    game_.reset();
    capture_.reset();
    fs::Result<fs::Folder> game = fs::Folder::open(paths_.gameFolder());
    if (!game)
        return;
    game_ = std::move(game).value();
    // Found in any letter case it is the capture folder, as Windows would take it.
    const fs::Result<QString> name =
        fs::find(*game_, CaptureFolderName, fs::Search::FilesAndFolders);
    if (!name)
        return;
    if (fs::Result<fs::Folder> capture = game_->subfolder(*name))
        capture_ = std::move(capture).value();
}

fs::Status GameFolders::ensureCaptureFolder() {
    if (!game_)
        return fs::Error{fs::ErrorKind::PathNotFound,
                         QStringLiteral("The game folder does not exist: %1")
                             .arg(fs::shownPath(paths_.gameFolder()))};
    if (fs::find(*game_, CaptureFolderName, fs::Search::FilesAndFolders)) {
        resolve(); // a plain file of that name is no folder: nothing to copy into
        state_.captureExists = capture_.has_value();
        return {};
    }
    if (fs::Status made = fs::makeFolder(*game_, CaptureFolderName); !made)
        return made;
    resolve();
    state_.captureExists = capture_.has_value();
    return {};
}

bool GameFolders::hasLeftoverPlays() const {
    return capture_ && fs::find(*capture_, QStringLiteral("*.ply")).ok();
}

fs::DeleteReport GameFolders::deleteCapturedFiles() {
    if (!capture_) {
        fs::DeleteReport none;
        none.folderError = fs::Error{fs::ErrorKind::PathNotFound,
                                     QStringLiteral("Cannot open the folder \"%1\": the folder "
                                                    "does not exist")
                                         .arg(fs::shownPath(paths_.captureFolder()))};
        return none;
    }
    return fs::removeMatching(*capture_, QStringLiteral("*.*"));
}

fs::Result<fs::Folder> GameFolders::captureNow() const {
    if (!capture_)
        return fs::Folder::open(paths_.captureFolder()); // says why, as the game names it
    return capture_->reopened();
}

CapturedPlays GameFolders::listCaptured() const {
    return CapturedPlays::list(captureNow());
}

std::optional<fs::Folder> GameFolders::entryRootNow() const {
    if (!game_ || !paths_.gameFolder().endsWith(QLatin1Char('\\')))
        return std::nullopt;
    fs::Result<fs::Folder> root = game_->reopened();
    return root ? std::optional<fs::Folder>(std::move(root).value()) : std::nullopt;
}

QString describeDeleteProblems(const fs::DeleteReport& report) {
    if (report.folderError)
        return report.folderError->message;
    if (report.failed.isEmpty())
        return {};
    QString text = QStringLiteral("These files could not be deleted:\n");
    text += report.failed.join(QLatin1Char('\n'));
    if (!report.deleted.isEmpty())
        text += QStringLiteral("\n\nThe other %1 files were deleted.").arg(report.deleted.size());
    return text;
}

} // namespace huddlex
