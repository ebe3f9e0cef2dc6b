#pragma once

#include <QStringList>
#include <cstdio>

namespace huddlex {

// Exit statuses of huddlex-validate. When several apply, the highest is returned.
enum ValidateExit {
    AllIdentified = 0,   // the plans and the capture folder were read; every play identified
    SomeUnknown = 1,     // at least one captured play is unknown
    UsageError = 2,      // also: GAME_FOLDER does not exist
    PlayLogFailed = 3,   // --update-log could not rebuild FBplay.log
    InputUnreadable = 4, // the game plans or the capture folder could not be read
    OutputFailed = 5,    // the results could not be written to standard output
};

// Runs `huddlex-validate [--play-folder NAME] [--update-log] [--report json|csv] GAME_FOLDER`
// with `arguments` (program name first); results go to `out`, messages to `err`.
int runValidateCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

// Writes all of `bytes` to `out`, flushed; false with a message on `err` when it cannot.
bool writeOut(std::FILE* out, std::FILE* err, const QByteArray& bytes);

} // namespace huddlex
