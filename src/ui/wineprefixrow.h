#pragma once

#include "fs/wineprefixes.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace huddlex {
class SettingsStore;
}

namespace huddlex::ui {

// Where the Wine prefix row finds its prefixes and asks for a folder; tests answer both.
struct PrefixSources {
    std::function<QList<fs::WinePrefix>()> prefixes;                          // discovery
    std::function<QString(QWidget* parent, const QString& start)> pickFolder; // folder dialog
};

// Adds the "Wine prefix:" row to frmSettings at `topTwips`: `cboWinePrefix` with the default
// rule ($WINEPREFIX, else ~/.wine) and the prefixes found, the game's first, showing the prefix
// in use; `cmdBrowsePrefix` for any folder. Filling it writes nothing. A choice is written to
// WinePrefix and taken by the drive mapping at once, then `changed` runs with whatever kept the
// write from being saved. The row follows
// `tabAfter` in the tab order. Returns the height it takes in twips: 0 on Windows, where the
// drives are the system's own and there is no row. One implementation per platform.
int addWinePrefixRow(QWidget& dialog, SettingsStore& store, int topTwips, QWidget* tabAfter,
                     PrefixSources sources,
                     std::function<void(const std::optional<QString>& notSaved)> changed);

} // namespace huddlex::ui
