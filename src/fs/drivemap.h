#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace huddlex::fs {

// Where a Windows drive letter lives on the host. On Linux that is the Wine prefix (the one
// chosen by the user, else $WINEPREFIX, else ~/.wine): dosdevices/x: entries, with drive_c as
// C:'s fallback. On Windows it is the system's own drive.
class DriveMap {
public:
    // Host folder of drive `letter` (either case), or nothing when the drive is unknown.
    static std::optional<QString> root(QChar letter);

    // Drive letters the machine knows, as a drive list shows them: "c:", "d:", ...
    static QStringList drives();

    // Whether the drives come from a Wine prefix (Linux) or are the system's own (Windows).
    static bool mapsWinePrefix();

    // The Wine prefix in use: the chosen one, else the default (Linux only; empty in a
    // Windows program).
    static QString winePrefix();
    // The prefix the environment names: $WINEPREFIX, else ~/.wine (empty in a Windows program).
    static QString defaultWinePrefix();

    // The prefix the user chose (the WinePrefix setting, or --wine-prefix for one session); it
    // wins over the default. An empty folder restores the default.
    static void setWinePrefix(const QString& hostFolder);
    static QString chosenWinePrefix();

    // Pins a drive letter to a host folder, ahead of the prefix; an empty folder removes the pin.
    // The headless command maps its GAME_FOLDER argument this way.
    static void setOverride(QChar letter, const QString& hostFolder);
};

} // namespace huddlex::fs
