#include "ui/timer_binder.h"

namespace tipora::ui {

namespace {
// A beat that drifts is audible; the other timers only move labels.
bool needsPrecision(const ModelTimer& timer) {
    return timer.name() == QLatin1String("tmrMetronom") ||
           timer.name() == QLatin1String("tmrDemo") ||
           timer.name() == QLatin1String("tmrDemoClick");
}
} // namespace

TimerBinder::TimerBinder(Handlers handlers, std::function<void()> afterTick, QObject* parent)
    : QObject(parent), afterTick_(std::move(afterTick)) {
    for (auto& [model, handler] : handlers) {
        auto timer = std::make_unique<QTimer>();
        timer->setObjectName(model->name());
        timer->setTimerType(needsPrecision(*model) ? Qt::PreciseTimer : Qt::CoarseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, model = model, handler = handler] {
            // A handler may have disabled this timer while an earlier tick waited in the queue.
            if (!model->enabled()) {
                return;
            }
            handler();
            afterTick_();
        });
        bindings_.push_back({model, std::move(timer), model->restarts()});
    }
    sync();
}

void TimerBinder::sync() {
    for (Binding& b : bindings_) {
        const bool runnable = b.model->enabled() && b.model->interval() > 0;
        if (!runnable) {
            b.timer->stop();
        } else if (!b.timer->isActive() || b.restarts != b.model->restarts() ||
                   b.timer->interval() != b.model->interval()) {
            b.timer->start(b.model->interval());
        }
        b.restarts = b.model->restarts();
    }
}

} // namespace tipora::ui
