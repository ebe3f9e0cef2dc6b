#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace huddlex::fs {

// Where a Windows drive letter lives on the host. On Linux that is the Wine prefix
// ($WINEPREFIX, else ~/.wine): dosdevices/x: entries, with drive_c as C:'s fallback. On
// Windows it is the system's own drive.
class DriveMap {
public:
    // Host folder of drive `letter` (either case), or nothing when the drive is unknown.
    static std::optional<QString> root(QChar letter);

    // Drive letters the machine knows, as a drive list shows them: "c:", "d:", ...
    static QStringList drives();

    // The Wine prefix in use (Linux only; empty in a Windows program).
    static QString winePrefix();

    // Pins a drive letter to a host folder, ahead of the prefix; an empty folder removes the pin.
    // The headless command maps its GAME_FOLDER argument this way.
    static void setOverride(QChar letter, const QString& hostFolder);
};

} // namespace huddlex::fs
