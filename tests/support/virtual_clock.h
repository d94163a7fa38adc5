#pragma once

#include "app/form_model.h"

#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace tipora::test {

// Advances time for the model timers and fires the due handlers in order, so that seconds and
// minutes of a lesson pass in microseconds. Enabling a timer or setting its interval restarts
// its countdown, as a toolkit timer does.
class VirtualClock {
public:
    using Handlers = std::vector<std::pair<ModelTimer*, std::function<void()>>>;

    explicit VirtualClock(Handlers handlers) {
        for (auto& [timer, fire] : handlers) {
            slots_.push_back({timer, std::move(fire), false, 0, 0});
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
        bool running;
        std::uint64_t restarts;
        qint64 due;
    };

    // Picks up timers that handlers (or the test) enabled, disabled or restarted.
    void notice() {
        for (Slot& slot : slots_) {
            const bool runnable = slot.timer->enabled() && slot.timer->interval() > 0;
            if (!runnable) {
                slot.running = false;
            } else if (!slot.running || slot.restarts != slot.timer->restarts()) {
                slot.running = true;
                slot.due = now_ + slot.timer->interval();
            }
            slot.restarts = slot.timer->restarts();
        }
    }

    std::vector<Slot> slots_;
    qint64 now_ = 0;
};

} // namespace tipora::test
