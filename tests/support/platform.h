#pragma once

#include <QString>

namespace huddlex::test {

// For the few tests that cannot run on one platform: they skip there and say why.
#ifdef Q_OS_WIN
inline constexpr bool onWindows = true;
#else
inline constexpr bool onWindows = false;
#endif

// What a scratch environment needs beyond HOME, XDG_CONFIG_HOME and WINEPREFIX, one file per
// platform. Linux: nothing. Windows: drive C: is pinned to `driveC`, and the settings go to
// a scratch registry key instead of the user's.
void enterScratchProfile(const QString& driveC);
void leaveScratchProfile();

// Hides the file at `hostPath` as the platform hides files: on Windows by its attribute; on
// Linux its name must already begin with a dot.
void makeHidden(const QString& hostPath);

// Makes a FIFO at `hostPath`; false where the platform has none.
bool makeFifo(const QString& hostPath);

// Whether taking the write permission from a folder stops this process writing into it
// (not for root, and not on Windows, where a folder's read-only attribute means nothing).
bool folderPermissionsBind();

} // namespace huddlex::test
