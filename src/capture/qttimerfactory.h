#pragma once

#include "common/timers.h"

namespace huddlex {

// Capture timers on QTimer, for the program. A QTimer that fell due several times while the
// thread was busy fires once, and start() is only called on a stopped timer so enabling an
// enabled one keeps its schedule.
class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> create(int intervalMs, std::function<void()> onTick) override;
};

} // namespace huddlex
