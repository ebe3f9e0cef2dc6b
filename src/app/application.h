#pragma once

namespace huddlex {

// Program-wide identity, set once before any window: the application title "Huddlex" that
// message boxes carry, the window icon and the desktop entry the windows belong to.
void configureApplication();

} // namespace huddlex
