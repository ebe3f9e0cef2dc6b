#include "cli/binaryoutput.h"

#include <fcntl.h>
#include <io.h>

namespace huddlex {

void useBinaryOutput(std::FILE* out) {
    std::fflush(out);
    _setmode(_fileno(out), _O_BINARY);
}

void keepRunningWithoutReader() {} // no SIGPIPE: a failed write returns an error

} // namespace huddlex
