#include "app/form_model.h"

#include <QtMath>
#include <utility>

namespace tipora {

QString colorName(Color color) {
    return QStringLiteral("#%1").arg(color & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

QString Control::fullName() const {
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

Control makeControl(const char* name, ControlKind kind, const QString& text, Geometry geometry,
                    FontSpec font, Color back, Color fore) {
    Control c;
    c.name = QString::fromLatin1(name);
    c.kind = kind;
    c.text = text;
    c.geometry = geometry;
    c.font = font;
    c.back = back;
    c.fore = fore;
    return c;
}

void WindowState::centreOn(QSize screen) {
    left = qRound((screen.width() - width) / 2.0);
    top = qRound((screen.height() - height) / 2.0);
}

ModelTimer::ModelTimer(QString name, int interval, bool enabled, Timing timing)
    : name_(std::move(name)), interval_(interval), enabled_(enabled), timing_(timing) {}

void ModelTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    ++restarts_;
}

void ModelTimer::setEnabled(bool enabled) {
    if (enabled && !enabled_) {
        ++restarts_;
    }
    enabled_ = enabled;
}

TimerFollower::Step TimerFollower::next(bool running) {
    const bool restarted = restarts_ != timer_->restarts();
    restarts_ = timer_->restarts();
    if (!timer_->enabled() || timer_->interval() <= 0) {
        return Step::Stop;
    }
    return !running || restarted ? Step::Start : Step::Keep;
}

} // namespace tipora
