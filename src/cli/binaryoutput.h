#pragma once

#include <cstdio>

namespace huddlex {

// Makes `out` pass bytes through unchanged: Windows' text mode would turn each "\n" into
// "\r\n", breaking a format whose bytes are exact (CSV records end in "\r\n").
void useBinaryOutput(std::FILE* out);

} // namespace huddlex
