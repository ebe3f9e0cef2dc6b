#pragma once

#include <functional>
#include <memory>

// Timers behind an interface, so capture runs on QTimer in the program and on a simulated
// clock in tests. Rules the engine relies on: enabling an enabled timer keeps its schedule;
// enabling a disabled one schedules the first tick one interval later; ticks that fell due
// while the thread was busy fire once.
namespace huddlex {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual int intervalMs() const = 0;
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> create(int intervalMs, std::function<void()> onTick) = 0;
};

} // namespace huddlex
