#include "settings/settingslocation.h"

namespace huddlex {

SettingsLocation settingsLocation(const QString& applicationName) {
    return {applicationName, applicationName};
}

} // namespace huddlex
