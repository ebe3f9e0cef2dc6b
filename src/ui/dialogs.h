#pragma once

#include <functional>

class QWidget;

namespace huddlex {
class SettingsStore;
class GamePaths;

// Modal dialogs opened from the main window's menus; each returns when the dialog closes.
// `gameFolderMoved` runs as soon as a change moves the game folder (drive, version, prefix).
void ShowSettingsDialog(SettingsStore& store, GamePaths& paths, QWidget* parent,
                        std::function<void()> gameFolderMoved = {});
void ShowAboutBox(QWidget* parent);

} // namespace huddlex
