#pragma once

#include <QStringList>
#include <cstdio>

namespace huddlex {

// Exit statuses of huddlex-validate.
enum ValidateExit {
    AllIdentified = 0,
    SomeUnknown = 1,
    UsageError = 2,    // also: GAME_FOLDER does not exist
    PlayLogFailed = 3, // --update-log could not rebuild FBplay.log
};

// Runs `huddlex-validate [--play-folder NAME] [--update-log] GAME_FOLDER` with `arguments`
// (program name first); results go to `out`, messages to `err`.
int runValidateCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

} // namespace huddlex
