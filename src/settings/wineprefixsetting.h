#pragma once

#include "fs/wineprefixes.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"

#include <QString>
#include <functional>

namespace huddlex {

// What start-up did about the Wine prefix, for the status bar.
struct PrefixStartup {
    enum class Outcome { Unchanged, ChoseOne, FoundSeveral };
    Outcome outcome = Outcome::Unchanged;
    QString note;    // a short line; empty when there is nothing to tell
    QString details; // the whole story, for its tool tip
};

using PrefixFinder = std::function<QList<fs::WinePrefix>()>;

// Puts the prefix of this run into the drive mapping: `sessionPrefix` when given (never
// stored), else the WinePrefix setting, else the environment's rule.
// Then, on a first start (a Wine prefix mapping, no session prefix, no WinePrefix stored, and
// no game folder on drive C: of the default prefix), looks for the prefixes holding the game:
// exactly one is used and stored, with its version when it holds only one (the one exception
// to start-up writing no setting); several are counted for the user to choose from.
PrefixStartup settleWinePrefix(SettingsStore& store, GamePaths& paths, const QString& sessionPrefix,
                               const PrefixFinder& find = {});

// "FBPro 97" for "\Sierra\FBPro97\"; "the game" for any other version folder.
QString versionName(const QString& fbVer);

// The FBVer value of a version folder name found by discovery ("FBPro98").
QString versionFolder(const QString& versionName);

} // namespace huddlex
