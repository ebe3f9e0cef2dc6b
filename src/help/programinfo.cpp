#include "help/programinfo.h"

namespace huddlex {

ProgramVersion programVersion() {
    // Set by the build from the project's version, the only place it is written.
    return {HUDDLEX_VERSION_MAJOR, HUDDLEX_VERSION_MINOR, HUDDLEX_VERSION_PATCH};
}

QString versionText(const ProgramVersion& version) {
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.revision);
}

QString applicationTitle() {
    return QStringLiteral(HUDDLEX_PROJECT_NAME);
}

} // namespace huddlex
