#pragma once

#include "capture/captureengine.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"

#include <QObject>
#include <functional>
#include <memory>

namespace huddlex {

class GameFolders;
struct GameFolderState;
class ReportCommand;
class ValidationCommands;
namespace ui {
class MainWindow;
enum class MenuArray;
} // namespace ui

// The main window's code: start-up, the routing of every menu item and toolbar button,
// the toolbar's pressed and enabled states, and shutdown.
class MainController final : public QObject {
    Q_OBJECT
public:
    // Ways out to the user and the platform; tests replace them, the program keeps the defaults.
    struct Seams {
        Notifier* notifier = nullptr;               // message boxes
        std::function<bool()> askDeleteLeftovers;   // frmExistingFiles: true for "Yes"
        std::function<void()> openSettings;         // frmSettings, modal
        std::function<void()> openAbout;            // frmAbout, modal
        std::function<void()> exitProgram;          // "E&xit": ends at once
        std::function<void()> processPendingEvents; // the toolbar's event pass
    };

    MainController(SettingsStore& store, TimerFactory& timers);
    MainController(SettingsStore& store, TimerFactory& timers, Seams seams);
    ~MainController() override;

    ui::MainWindow& window() const;
    CaptureEngine& capture() const;
    ReportCommand& report() const;
    GamePaths& paths() { return paths_; }
    GameFolders& folders() const { return *folders_; }

    // The Wine prefix of this session (huddlex --wine-prefix), ahead of the setting and not
    // stored; set before Form_Load.
    void useWinePrefixForSession(const QString& hostFolder) { sessionPrefix_ = hostFolder; }

    // The start-up sequence, run while the window loads (before it is shown).
    void Form_Load();
    void Form_UnLoad();

    void mnuFile_Click(int index);
    void mnuEdit_Click(int index);
    void mnuView_Click(int index);
    void mnuHelp_Click(int index);
    void mnuOnTop_Click();
    void Toolbar1_ButtonClick(const QString& key);
    void Command1_Click();

    void DeleteFiles();

    // How long a status-bar message (the result of Update Log) stays; what start-up found out
    // about the Wine prefix stays three times as long.
    static constexpr int kStatusMessageMs = 5000;
    static constexpr int kStartupNotePeriods = 3;

private:
    // Start-up's steps from the capture folder on, for the game folder in use: run at start-up
    // and whenever that folder changes or comes into being.
    void takeGameFolder(const GameFolderState& state);
    void showStatusMessage(const QString& text, const QString& details = {}, int periods = 1);
    void settleWinePrefix();

    void routeMenu(ui::MenuArray array, int index);
    void setCaptureButtons(bool running);

    SettingsInUse store_; // the store, and what it could not save for this session
    GamePaths paths_;
    Seams seams_;
    std::unique_ptr<Notifier> ownNotifier_;
    std::unique_ptr<GameFolders> folders_;
    std::unique_ptr<ui::MainWindow> window_;
    std::unique_ptr<CaptureEngine> capture_;
    std::unique_ptr<ValidationCommands> validation_;
    std::unique_ptr<ReportCommand> report_;
    std::unique_ptr<Timer> messageTimer_; // hides the status-bar message
    int messagePeriodsLeft_ = 0;

    QString sessionPrefix_;
};

} // namespace huddlex
