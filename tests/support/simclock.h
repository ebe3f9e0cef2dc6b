#pragma once

#include "common/timers.h"

#include <QtGlobal>
#include <memory>
#include <vector>

namespace huddlex::test {

// Virtual time for timer-driven logic: nothing fires until the test moves the clock.
// Enabling an enabled timer keeps its schedule; enabling a disabled one schedules its first
// tick one interval later; a timer that fell due several times while the thread was busy
// fires once.
class SimClock final : public TimerFactory {
public:
    SimClock();
    ~SimClock() override;

    std::unique_ptr<Timer> create(int intervalMs, std::function<void()> onTick) override;

    qint64 now() const { return now_; }

    // Moves time forward, firing every tick that falls due on the way, in time order (ties in
    // the order the timers were created). Ticks scheduled by a tick are fired too.
    void advance(qint64 ms);

    // The thread was busy for `ms`: time jumps without firing, then every overdue timer
    // fires once, earliest due first, and keeps its phase for later ticks.
    void busy(qint64 ms);

    // Ticks fired so far, all timers together.
    int tickCount() const { return ticks_; }

    struct State;

private:
    bool fireNextDue(qint64 until);

    qint64 now_ = 0;
    int ticks_ = 0;
    std::vector<std::shared_ptr<State>> timers_;
};

} // namespace huddlex::test
