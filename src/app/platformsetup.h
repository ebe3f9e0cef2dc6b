#pragma once

namespace huddlex {

// What the program must settle with its platform before the application object exists; one
// file per platform (platformsetup_linux.cpp, platformsetup_windows.cpp).
void prepareForPlatform();

} // namespace huddlex
