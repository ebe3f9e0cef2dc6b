#include "cli/terminal.h"

#include <unistd.h>

namespace huddlex {

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

} // namespace huddlex
