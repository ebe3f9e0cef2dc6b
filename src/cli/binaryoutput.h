#pragma once

#include <cstdio>

namespace huddlex {

// What standard output needs on each platform, one file per platform.

// Makes `out` pass bytes through unchanged: Windows' text mode would turn each "\n" into
// "\r\n", breaking a format whose bytes are exact (CSV records end in "\r\n").
void useBinaryOutput(std::FILE* out);

// A reader of the results that goes away (`huddlex-validate --update-log G | head -1`) must not
// end the command before FBplay.log is rebuilt: the failed write is reported instead.
void keepRunningWithoutReader();

} // namespace huddlex
