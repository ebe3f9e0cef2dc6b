#include "app/platformsetup.h"

namespace huddlex {

void prepareForPlatform() {}

} // namespace huddlex
