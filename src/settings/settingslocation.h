#pragma once

#include <QString>

namespace huddlex {

// The names QSettings files a program's settings under. Linux: organisation and application
// both <name>, so ~/.config/<name>/<name>.conf. Windows: organisation "VB and VBA Program
// Settings", so HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<name>, where earlier
// installations kept theirs. One implementation per platform, chosen by the build.
struct SettingsLocation {
    QString organisation;
    QString application;
};

SettingsLocation settingsLocation(const QString& applicationName);

} // namespace huddlex
