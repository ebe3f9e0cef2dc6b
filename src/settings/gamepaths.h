#pragma once

#include "settings/settingsstore.h"

#include <QString>

namespace huddlex {

// The three path globals and the folders composed from them. Compositions are plain
// concatenations, made anew at every call so a changed drive or version applies at once.
class GamePaths {
public:
    QString gFBDrive;
    QString gFBVer;
    QString gFBPlayFolder;

    // Reads FBDrive, FBPlayFolder and FBVer, in that order, with their defaults.
    void readFrom(const SettingsStore& store);

    QString gameFolder() const { return gFBDrive + gFBVer; }
    QString gameFile(const QString& name) const { return gameFolder() + name; }
    QString captureFolder() const { return gameFolder() + QStringLiteral("Xferbox"); }
    QString captureFile(const QString& name) const {
        return gameFolder() + QStringLiteral("Xferbox\\") + name;
    }
    QString mainPlayFolder() const { return gameFolder() + gFBPlayFolder; }
};

} // namespace huddlex
