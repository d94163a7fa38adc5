#pragma once

#include <QTime>
#include <functional>

namespace tipora {

// The time of day from universal time and the zone's offset, which is read again only when the
// minute turns. Reading the local time looks at the system's zone file on every call, a cost the
// clock face paid once a second in a window that otherwise sleeps. Zones change their offset on
// whole minutes, so the face shows a change of summer time as the minute turns, and a zone
// changed by the administrator within a minute.
class LocalClock {
public:
    // Seconds east of universal time in force at the given instant (milliseconds since 1970).
    using OffsetAt = std::function<int(qint64 msecsSinceEpoch)>;

    explicit LocalClock(OffsetAt offsetAt);

    QTime timeAt(qint64 msecsSinceEpoch);

private:
    OffsetAt offsetAt_;
    qint64 offsetMinute_;
    int offsetSeconds_ = 0;
};

} // namespace tipora
