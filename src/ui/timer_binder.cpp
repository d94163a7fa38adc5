#include "ui/timer_binder.h"

namespace tipora::ui {

TimerBinder::TimerBinder(Handlers handlers, std::function<void()> afterTick, QObject* parent)
    : QObject(parent), afterTick_(std::move(afterTick)) {
    for (auto& [model, handler] : handlers) {
        auto timer = std::make_unique<QTimer>();
        timer->setObjectName(model->name());
        timer->setTimerType(model->precise() ? Qt::PreciseTimer : Qt::CoarseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, model = model, handler = handler] {
            // A handler may have disabled this timer while an earlier tick waited in the queue.
            if (!model->enabled()) {
                return;
            }
            handler();
            afterTick_();
        });
        bindings_.push_back({model, std::move(timer), TimerFollower(*model)});
    }
    sync();
}

void TimerBinder::sync() {
    for (Binding& b : bindings_) {
        switch (b.follower.next(b.timer->isActive())) {
        case TimerFollower::Step::Stop:
            b.timer->stop();
            break;
        case TimerFollower::Step::Start:
            b.timer->start(b.model->interval());
            break;
        case TimerFollower::Step::Keep:
            break;
        }
    }
}

const QTimer* TimerBinder::timer(const ModelTimer& model) const {
    for (const Binding& b : bindings_) {
        if (b.model == &model) {
            return b.timer.get();
        }
    }
    return nullptr;
}

} // namespace tipora::ui
