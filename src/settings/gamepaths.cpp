#include "settings/gamepaths.h"

namespace huddlex {

void GamePaths::readFrom(const SettingsStore& store) {
    gFBDrive = store.read(keys::FBDrive, defaults::FBDrive);
    gFBPlayFolder = store.read(keys::FBPlayFolder, defaults::FBPlayFolder);
    gFBVer = store.read(keys::FBVer, defaults::FBVer);
}

} // namespace huddlex
