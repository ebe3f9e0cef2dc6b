#pragma once

class QWidget;

namespace huddlex {
class SettingsStore;
class GamePaths;

// Modal dialogs opened from the main window's menus; each returns when the dialog closes.
void ShowSettingsDialog(SettingsStore& store, GamePaths& paths, QWidget* parent);
void ShowAboutBox(QWidget* parent);

} // namespace huddlex
