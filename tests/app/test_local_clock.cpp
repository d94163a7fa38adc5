#include "app/local_clock.h"

#include <QDateTime>
#include <QTest>

using namespace tipora;

namespace {

qint64 utc(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
        .toMSecsSinceEpoch();
}

} // namespace

class TestLocalClock : public QObject {
    Q_OBJECT

private slots:
    // A clock face ticking once a second across the night summer time began in Prague
    // (01:00 UTC, 2026-03-29): the zone is asked once a minute, and the face jumps from
    // 01:59:59 to 03:00:00 at the very second the zone does.
    void followsTheZoneAcrossSummerTime() {
        const qint64 summer = utc(2026, 3, 29, 1, 0, 0);
        int asked = 0;
        LocalClock clock([&](qint64 at) {
            ++asked;
            return at < summer ? 3600 : 7200;
        });
        const qint64 start = utc(2026, 3, 29, 0, 58, 0) + 2; // ticks come just past the turn
        for (int second = 0; second < 180; ++second) {
            const qint64 now = start + second * 1000;
            const QTime shown = clock.timeAt(now);
            QCOMPARE(shown, QTime(now < summer ? 1 : 3, 58 + second / 60 - (now < summer ? 0 : 60),
                                  second % 60, 2));
        }
        QCOMPARE(asked, 3);
    }

    // West of Greenwich and before 1970 the day still wraps at local midnight, not at the
    // universal one.
    void wrapsAtLocalMidnight() {
        LocalClock west([](qint64) { return -5 * 3600; });
        QCOMPARE(west.timeAt(utc(2026, 12, 8, 3, 30, 15)), QTime(22, 30, 15));
        QCOMPARE(west.timeAt(utc(1969, 12, 31, 4, 59, 59)), QTime(23, 59, 59));
        LocalClock east([](qint64) { return 13 * 3600 + 45 * 60; }); // Chatham summer time
        QCOMPARE(east.timeAt(utc(2026, 12, 8, 10, 15, 0)), QTime(0, 0, 0));
        QCOMPARE(east.timeAt(utc(1969, 12, 31, 23, 59, 59)), QTime(13, 44, 59));
    }

    // The administrator's change of zone reaches the face when the minute turns.
    void seesANewZoneWithinTheMinute() {
        int offset = 0;
        LocalClock clock([&](qint64) { return offset; });
        const qint64 start = utc(2026, 12, 8, 12, 0, 30);
        QCOMPARE(clock.timeAt(start), QTime(12, 0, 30));
        offset = 3600;
        QCOMPARE(clock.timeAt(start + 29 * 1000), QTime(12, 0, 59));
        QCOMPARE(clock.timeAt(start + 30 * 1000), QTime(13, 1, 0));
    }
};

QTEST_GUILESS_MAIN(TestLocalClock)
#include "test_local_clock.moc"
