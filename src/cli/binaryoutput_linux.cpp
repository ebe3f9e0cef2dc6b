#include "cli/binaryoutput.h"

#include <csignal>

namespace huddlex {

void useBinaryOutput(std::FILE*) {} // streams are bytes already

void keepRunningWithoutReader() {
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace huddlex
