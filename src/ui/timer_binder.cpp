#include "ui/timer_binder.h"

#include <QDateTime>

namespace tipora::ui {

namespace {

// How long after the wall clock's turn a clock face ticks: the time of day read in the handler
// must already show the new second.
constexpr int kPastTheTurnMilliseconds = 2;

// Time from now to just past the wall clock's next turn. A clock face shows whole seconds, so
// a tick between two turns of the second would show nothing new: a face asked to tick more
// often than once a second ticks as each second turns, and an idle window wakes once a second
// rather than twice. Time zones differ by whole minutes, so universal time turns its seconds
// with local time; reading it spares the look at the zone files that local time costs on
// every tick.
int delayToNextTurn(int interval) {
    const int turn = interval < 1000 && 1000 % interval == 0 ? 1000 : interval;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    return turn - static_cast<int>(now % turn) + kPastTheTurnMilliseconds;
}

} // namespace

TimerBinder::TimerBinder(Handlers handlers, std::function<void()> afterTick, QObject* parent)
    : QObject(parent), afterTick_(std::move(afterTick)) {
    for (auto& [model, handler] : handlers) {
        auto timer = std::make_unique<QTimer>();
        timer->setObjectName(model->name());
        // A clock face is re-armed for each turn of the wall clock, which a coarse timer would
        // let slip by a twentieth of its interval.
        timer->setTimerType(model->precise() || model->followsWallClock() ? Qt::PreciseTimer
                                                                          : Qt::CoarseTimer);
        timer->setSingleShot(model->followsWallClock());
        connect(timer.get(), &QTimer::timeout, this,
                [this, model = model, handler = handler, qtTimer = timer.get()] {
                    // A handler may have disabled this timer while an earlier tick waited in the
                    // queue.
                    if (!model->enabled()) {
                        return;
                    }
                    if (model->followsWallClock() && model->interval() > 0) {
                        // Armed again before the handler, which may stop or restart it.
                        qtTimer->start(delayToNextTurn(model->interval()));
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
            b.timer->start(b.model->followsWallClock() ? delayToNextTurn(b.model->interval())
                                                       : b.model->interval());
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
