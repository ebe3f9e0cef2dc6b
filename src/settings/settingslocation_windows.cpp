#include "settings/settingslocation.h"

namespace huddlex {

// The per-user branch of the platform's classic application-settings functions.
SettingsLocation settingsLocation(const QString& applicationName) {
    return {QStringLiteral("VB and VBA Program Settings"), applicationName};
}

} // namespace huddlex
