#pragma once

#include <QString>

namespace huddlex {

// The program's own version, as the build records it.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

ProgramVersion programVersion();

// "Version 2.0.0": plain decimal numbers, no leading zeros.
QString versionText(const ProgramVersion& version);

// The application title shown in the About box and on messages.
QString applicationTitle();

} // namespace huddlex
