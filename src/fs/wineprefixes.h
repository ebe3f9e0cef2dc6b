#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The Wine prefixes of this user, where Wine and its front ends keep them, and which of them
// hold the game. Host paths only: nothing here goes through the drive mapping.
namespace huddlex::fs {

struct WinePrefix {
    // Where it was found; Chosen for a folder the user picked.
    enum class Place { Environment, DotWine, Bottles, BottlesFlatpak, Games, PlayOnLinux, Chosen };

    QString path; // host folder, cleaned
    Place place = Place::DotWine;
    // The game's version folders its drive C: holds below Sierra, as the game names them:
    // "FBPro97", "FBPro98" (found in any letter case).
    QStringList versions;

    bool hasGame() const { return !versions.isEmpty(); }
};

// Where to look: the home folder and the value of $WINEPREFIX (may be empty).
struct WinePrefixPlaces {
    QString home;
    QString environmentPrefix;
};

// This user's places: the home folder and $WINEPREFIX of the process.
WinePrefixPlaces userWinePrefixPlaces();

// The prefixes found in $WINEPREFIX, ~/.wine and one level below the folders of Bottles
// (~/.local/share/bottles/bottles, its Flatpak's ~/.var/app/com.usebottles.bottles/data/
// bottles/bottles), of Lutris (~/Games) and of PlayOnLinux (~/.PlayOnLinux/wineprefix). A
// folder counts when it holds system.reg and drive_c. Those holding the game come first; within
// each group the order of the places above, then names. A few stats per candidate, no walk.
QList<WinePrefix> findWinePrefixes(const WinePrefixPlaces& places);
QList<WinePrefix> findWinePrefixes();

// The versions of the game the prefix's drive C: holds (see WinePrefix::versions).
QStringList gameVersionsIn(const QString& prefix);

// A short name for a list: "~/.wine", "FBPro (Bottles)", "~/Games/fbpro", ... followed by the
// versions it holds ("~/.wine - FBPro 97, 98").
QString describe(const WinePrefix& prefix, const QString& home);

// `path` with the home folder written as "~".
QString withTilde(const QString& path, const QString& home);

// The prefix a folder picked by the user stands for: the folder itself, or the prefix around
// it when it is that prefix's drive_c or dosdevices (an easy slip in a folder dialog).
QString prefixForPickedFolder(const QString& folder);

} // namespace huddlex::fs
