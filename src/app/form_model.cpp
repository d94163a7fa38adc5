#include "app/form_model.h"

#include <utility>

namespace tipora {

QString colorName(Color color) {
    return QStringLiteral("#%1").arg(color & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

QString Control::fullName() const {
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

ModelTimer::ModelTimer(QString name, int interval, bool enabled)
    : name_(std::move(name)), interval_(interval), enabled_(enabled) {}

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

} // namespace tipora
