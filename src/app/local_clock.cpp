#include "app/local_clock.h"

#include <limits>

namespace tipora {

namespace {

constexpr qint64 kMsPerMinute = 60 * 1000;
constexpr qint64 kMsPerDay = 24 * 60 * kMsPerMinute;

// Division rounding towards minus infinity: instants before 1970 belong to the minute that
// began before them.
qint64 floorDivide(qint64 value, qint64 divisor) {
    const qint64 quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

} // namespace

LocalClock::LocalClock(OffsetAt offsetAt)
    : offsetAt_(std::move(offsetAt)), offsetMinute_(std::numeric_limits<qint64>::min()) {}

QTime LocalClock::timeAt(qint64 msecsSinceEpoch) {
    const qint64 minute = floorDivide(msecsSinceEpoch, kMsPerMinute);
    if (minute != offsetMinute_) {
        offsetMinute_ = minute;
        offsetSeconds_ = offsetAt_(msecsSinceEpoch);
    }
    const qint64 local = msecsSinceEpoch + qint64(offsetSeconds_) * 1000;
    const qint64 intoDay = local - floorDivide(local, kMsPerDay) * kMsPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(intoDay));
}

} // namespace tipora
