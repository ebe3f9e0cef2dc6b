#pragma once

#include <cstdio>

namespace huddlex {

// Whether `stream` is a terminal a person watches; one file per platform.
bool isTerminal(std::FILE* stream);

} // namespace huddlex
