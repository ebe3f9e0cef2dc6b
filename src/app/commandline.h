#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace huddlex {

// What `huddlex` was asked on its command line (Qt's own options, such as -platform, are
// taken out by the application object before the program parses).
struct CommandLine {
    bool help = false;
    QString winePrefix; // --wine-prefix: an absolute host folder for this session; else empty
    QString error;      // a usage problem
};

CommandLine parseCommandLine(const QStringList& arguments);

// Says what needs no window: the help on `out`, or the usage problem on `err`. Returns the exit
// status then (0 for help, 2 for a usage problem), or nothing when the window is to open.
std::optional<int> answerCommandLine(const CommandLine& command, std::FILE* out, std::FILE* err);

} // namespace huddlex
