#include "cli/binaryoutput.h"

namespace huddlex {

void useBinaryOutput(std::FILE*) {} // streams are bytes already

} // namespace huddlex
