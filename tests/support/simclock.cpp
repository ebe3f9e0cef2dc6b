#include "simclock.h"

#include <limits>

namespace huddlex::test {

struct SimClock::State {
    SimClock* clock = nullptr;
    int intervalMs = 0;
    std::function<void()> onTick;
    bool enabled = false;
    bool alive = true;
    qint64 due = 0;
};

namespace {

class SimTimer final : public Timer {
public:
    explicit SimTimer(std::shared_ptr<SimClock::State> state) : state_(std::move(state)) {}
    ~SimTimer() override { state_->alive = false; }

    void setEnabled(bool enabled) override {
        if (enabled && !state_->enabled)
            state_->due = state_->clock->now() + state_->intervalMs;
        state_->enabled = enabled;
    }
    bool isEnabled() const override { return state_->enabled; }
    int intervalMs() const override { return state_->intervalMs; }

private:
    std::shared_ptr<SimClock::State> state_;
};

} // namespace

SimClock::SimClock() = default;

SimClock::~SimClock() {
    for (auto& t : timers_)
        t->clock = nullptr;
}

std::unique_ptr<Timer> SimClock::create(int intervalMs, std::function<void()> onTick) {
    auto state = std::make_shared<State>();
    state->clock = this;
    state->intervalMs = intervalMs;
    state->onTick = std::move(onTick);
    timers_.push_back(state);
    return std::make_unique<SimTimer>(state);
}

// Fires the earliest timer due at or before `until`; false when none is.
bool SimClock::fireNextDue(qint64 until) {
    std::shared_ptr<State> next;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const auto& t : timers_) {
        if (t->alive && t->enabled && t->due <= until && t->due < best) {
            best = t->due;
            next = t;
        }
    }
    if (!next)
        return false;
    if (next->due > now_)
        now_ = next->due;
    // Next tick in phase with the schedule, after the present moment: overdue ticks collapse
    // into this one.
    while (next->due <= now_)
        next->due += next->intervalMs;
    ++ticks_;
    next->onTick();
    return true;
}

void SimClock::advance(qint64 ms) {
    const qint64 until = now_ + ms;
    while (fireNextDue(until)) {
    }
    now_ = until;
}

void SimClock::busy(qint64 ms) {
    now_ += ms;
    // Only what is overdue now fires; what its ticks schedule waits for the next advance.
    while (fireNextDue(now_)) {
    }
}

} // namespace huddlex::test
