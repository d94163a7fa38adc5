#include "ui/timer_binder.h"

#include <QtTest>

using namespace tipora;
using tipora::ui::TimerBinder;

namespace {

// Two model timers, a coarse clock and a precise beat, each counting its ticks.
struct Rig {
    ModelTimer clock{QStringLiteral("tmrClock"), 1000, true};
    ModelTimer beat{QStringLiteral("tmrBeat"), 5, false, Timing::Precise};
    int clockTicks = 0;
    int beatTicks = 0;
    int afterTicks = 0;
    QObject owner;
    TimerBinder binder{{{&clock, [this] { ++clockTicks; }}, {&beat, [this] { ++beatTicks; }}},
                       [this] { ++afterTicks; },
                       &owner};

    const QTimer& qtClock() const { return *binder.timer(clock); }
    const QTimer& qtBeat() const { return *binder.timer(beat); }
};

} // namespace

class TestTimerBinder : public QObject {
    Q_OBJECT

private slots:
    void precisionFollowsTheModelTimer() {
        Rig rig;
        QCOMPARE(rig.qtClock().timerType(), Qt::CoarseTimer);
        QCOMPARE(rig.qtBeat().timerType(), Qt::PreciseTimer);
        // Named after their model timers, whatever the names: precision is no longer read from
        // them.
        QCOMPARE(rig.qtBeat().objectName(), QStringLiteral("tmrBeat"));
    }

    void followsEnabledStateAndInterval() {
        Rig rig;
        QVERIFY(rig.qtClock().isActive());
        QCOMPARE(rig.qtClock().interval(), 1000);
        QVERIFY(!rig.qtBeat().isActive());

        rig.clock.setEnabled(false);
        rig.beat.setEnabled(true);
        rig.binder.sync();
        QVERIFY(!rig.qtClock().isActive());
        QVERIFY(rig.qtBeat().isActive());
        QCOMPARE(rig.qtBeat().interval(), 5);

        // A timer without an interval does not run, however enabled.
        rig.beat.setInterval(0);
        rig.binder.sync();
        QVERIFY(!rig.qtBeat().isActive());
        rig.beat.setInterval(250);
        rig.binder.sync();
        QVERIFY(rig.qtBeat().isActive());
        QCOMPARE(rig.qtBeat().interval(), 250);
    }

    // Enabling a running timer or setting its interval, even to the same value, starts its
    // countdown afresh, as a toolkit timer does; a sync with nothing changed leaves it running.
    void restartsOnlyWhenTheModelRestarts() {
        Rig rig;
        rig.beat.setInterval(4000); // precise, so its countdown is exact
        rig.beat.setEnabled(true);
        rig.binder.sync();
        const auto fresh = [&rig] { return rig.qtBeat().remainingTime() > 3850; };
        QTest::qWait(300);
        QVERIFY(!fresh());

        rig.binder.sync();
        QVERIFY(!fresh());
        rig.beat.setEnabled(true); // already enabled: no restart
        rig.binder.sync();
        QVERIFY(!fresh());

        rig.beat.setInterval(4000);
        rig.binder.sync();
        QVERIFY(fresh());

        QTest::qWait(300);
        rig.beat.setEnabled(false);
        rig.beat.setEnabled(true); // off and on between two syncs: a restart
        rig.binder.sync();
        QVERIFY(fresh());
    }

    void ticksRunTheHandlerThenTheRefresh() {
        Rig rig;
        rig.beat.setEnabled(true);
        rig.binder.sync();
        QTRY_VERIFY(rig.beatTicks >= 2);
        QCOMPARE(rig.clockTicks, 0);
        QCOMPARE(rig.afterTicks, rig.beatTicks);
    }

    // A clock face ticks just after the wall clock's second turns, so the time of day it shows
    // is never behind the desktop's, and not between two turns, when it would show nothing new.
    void aWallClockTimerTicksAsTheSecondTurns() {
        ModelTimer clock{QStringLiteral("tmrTime"), 500, true, Timing::WallClock};
        QList<int> pastTheTurn; // milliseconds past the last whole second, at each tick
        QObject owner;
        TimerBinder binder{
            {{&clock, [&] { pastTheTurn << QTime::currentTime().msecsSinceStartOfDay() % 1000; }}},
            [] {},
            &owner};
        const QTimer& qtClock = *binder.timer(clock);
        QVERIFY(qtClock.isActive());
        const int due =
            (QTime::currentTime().msecsSinceStartOfDay() + qtClock.remainingTime()) % 1000;
        QVERIFY2(due <= 10, qPrintable(QString::number(due)));

        QTRY_VERIFY_WITH_TIMEOUT(pastTheTurn.size() >= 4, 7000);
        // Every tick after the turn, not before it nor half a second on; on a busy machine one
        // may come late.
        int prompt = 0;
        for (int past : pastTheTurn) {
            prompt += past < 100 ? 1 : 0;
        }
        QVERIFY2(prompt >= pastTheTurn.size() - 1, qPrintable(QString::number(prompt)));

        // Stopped and started by the model as any other timer.
        clock.setEnabled(false);
        binder.sync();
        QVERIFY(!qtClock.isActive());
        clock.setEnabled(true);
        binder.sync();
        QVERIFY(qtClock.isActive());
        QVERIFY(qtClock.remainingTime() <= 1002);
    }

    // A handler may disable a timer whose next tick already waits; that tick must not run it.
    void aDisabledModelTimerDoesNotTickBeforeTheSync() {
        Rig rig;
        rig.beat.setEnabled(true);
        rig.binder.sync();
        rig.beat.setEnabled(false); // no sync: the toolkit timer still runs
        QVERIFY(rig.qtBeat().isActive());
        QTest::qWait(60);
        QCOMPARE(rig.beatTicks, 0);
        QCOMPARE(rig.afterTicks, 0);
    }
};

QTEST_MAIN(TestTimerBinder)
#include "test_timer_binder.moc"
