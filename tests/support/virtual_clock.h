#pragma once

#include "app/form_model.h"

#include <QtGlobal>
#include <functional>
#include <utility>
#include <vector>

namespace tipora::test {

// Advances time for the model timers and fires the due handlers in order, so that seconds and
// minutes of a lesson pass in microseconds. Enabling a timer or setting its interval restarts
// its countdown, as a toolkit timer does.
class VirtualClock {
public:
    using Handlers = TimerHandlers;

    explicit VirtualClock(Handlers handlers) {
        for (auto& [timer, fire] : handlers) {
            slots_.push_back({timer, std::move(fire), TimerFollower(*timer), false, 0});
        }
        notice();
    }

    qint64 now() const { return now_; }

    void advance(qint64 milliseconds) {
        const qint64 target = now_ + milliseconds;
        for (;;) {
            notice();
            Slot* next = nullptr;
            for (Slot& slot : slots_) {
                if (slot.running && slot.due <= target && (!next || slot.due < next->due)) {
                    next = &slot;
                }
            }
            if (next == nullptr) {
                break;
            }
            now_ = next->due;
            next->due = now_ + next->timer->interval();
            next->fire();
        }
        now_ = target;
    }

private:
    struct Slot {
        ModelTimer* timer;
        std::function<void()> fire;
        TimerFollower follower;
        bool running;
        qint64 due;
    };

    // Picks up timers that handlers (or the test) enabled, disabled or restarted, by the rule the
    // program's timers follow.
    void notice() {
        for (Slot& slot : slots_) {
            switch (slot.follower.next(slot.running)) {
            case TimerFollower::Step::Stop:
                slot.running = false;
                break;
            case TimerFollower::Step::Start:
                slot.running = true;
                slot.due = now_ + slot.timer->interval();
                break;
            case TimerFollower::Step::Keep:
                break;
            }
        }
    }

    std::vector<Slot> slots_;
    qint64 now_ = 0;
};

} // namespace tipora::test
