#include "cli/terminal.h"

#include <io.h>

namespace huddlex {

bool isTerminal(std::FILE* stream) {
    return ::_isatty(::_fileno(stream)) != 0;
}

} // namespace huddlex
