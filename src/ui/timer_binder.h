#pragma once

#include "app/form_model.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tipora::ui {

// One QTimer follows each model timer: after every handler it is started, restarted or stopped
// as the model's enabled state, interval and restart count say.
class TimerBinder : public QObject {
    Q_OBJECT

public:
    using Handlers = TimerHandlers;

    // afterTick runs after every timer handler, to bring the window up to date.
    TimerBinder(Handlers handlers, std::function<void()> afterTick, QObject* parent);

    void sync();
    // The toolkit timer that follows a model timer.
    const QTimer* timer(const ModelTimer& model) const;

private:
    struct Binding {
        ModelTimer* model;
        std::unique_ptr<QTimer> timer;
        TimerFollower follower;
    };

    std::vector<Binding> bindings_;
    std::function<void()> afterTick_;
};

} // namespace tipora::ui
