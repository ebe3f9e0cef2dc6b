#include "ui/dialogs.h"

#include "ui/aboutdialog.h"
#include "ui/settingsdialog.h"

namespace huddlex {

// Both dialogs are made when shown and gone when closed: nothing survives between showings.
void ShowSettingsDialog(SettingsStore& store, GamePaths& paths, QWidget* parent,
                        std::function<void()> gameFolderMoved) {
    ui::frmSettings dialog(store, paths, parent);
    dialog.setGameFolderMoved(std::move(gameFolderMoved));
    dialog.exec();
}

void ShowAboutBox(QWidget* parent) {
    ui::frmAbout dialog(parent);
    dialog.exec();
}

} // namespace huddlex
