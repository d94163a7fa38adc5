#include "ui/beeper.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using tipora::ui::ClickTrack;
using tipora::ui::StreamClock;

namespace {

int peakOf(const std::vector<qint16>& samples, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

// A click that is easy to find again: 1, 2, 3, …
std::vector<qint16> rampClick(int length) {
    std::vector<qint16> click(std::size_t(length), 0);
    for (int i = 0; i < length; ++i)
        click[std::size_t(i)] = qint16(i + 1);
    return click;
}

// Renders frames [0, total) in pieces of the given sizes taken in turn, as a sound card asks.
std::vector<qint16> renderInPieces(ClickTrack& track, qint64 total, std::vector<qint64> pieces) {
    std::vector<qint16> out(std::size_t(total), -1);
    qint64 at = 0;
    for (std::size_t i = 0; at < total; ++i) {
        const qint64 n = std::min(pieces[i % pieces.size()], total - at);
        track.render(at, out.data() + at, n);
        at += n;
    }
    return out;
}

} // namespace

class TestBeeper : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void clickLength_data();
    void clickLength();
    void clickFadesInAndOutAtModerateVolume();
    void clickHasTheAskedPitch();
    void unusableArgumentsGiveNoClick_data();
    void unusableArgumentsGiveNoClick();
    void clicksLandOnTheirFramesHoweverTheStreamIsCut();
    void aClickAskedTooLateStartsAtOnce();
    void beepsAskedAtOnceAreHeardOneAfterAnother();
    void aBurstIsThinnedRatherThanDelayed();
    void finishedClicksAreForgotten();
    void evenBeepsLandEvenlyThoughTheWriterStepsUnevenly();
    void streamClockFollowsACardRunningFast();
    void streamClockJumpsWithAStall();
    void beatGridKeepsItsPlaceForHours();
    void withoutSoundTheTimerBeepsTheBeat();
    void beepingWithoutSoundDeviceReturnsPromptly();
    void beeperCanGoAwayRightAfterBeeping();
};

void TestBeeper::initTestCase() {
    // Every machine then has the same deviceless sound system, and a developer's speakers do not
    // click a hundred times. The sound system reads this when first used, which is after here.
    qputenv("PULSE_SERVER", "unix:/nonexistent/tipora-test-no-sound");
}

void TestBeeper::clickLength_data() {
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<int>("samples");
    QTest::newRow("44.1 kHz, fraction dropped") << 44100 << 35 << 1543;
    QTest::newRow("48 kHz") << 48000 << 40 << 1920;
    QTest::newRow("high rate") << 192000 << 1000 << 192000;
}

void TestBeeper::clickLength() {
    QFETCH(int, sampleRate);
    QFETCH(int, milliseconds);
    QFETCH(int, samples);
    QCOMPARE(tipora::ui::makeClickSamples(sampleRate, milliseconds, 1000.0).size(),
             std::size_t(samples));
}

void TestBeeper::clickFadesInAndOutAtModerateVolume() {
    const std::vector<qint16> samples = tipora::ui::makeClickSamples(44100, 35, 1200.0);
    QCOMPARE(samples.size(), std::size_t(1543));

    const int peak = peakOf(samples, 0, samples.size());
    QVERIFY2(peak > 32767 / 10, "too quiet to hear over typing");
    QVERIFY2(peak < 32767 * 7 / 10, "loud enough to startle or clip");

    // Silence at both ends, and a ramp rather than a jump next to them.
    QCOMPARE(samples.front(), 0);
    QCOMPARE(samples.back(), 0);
    QVERIFY(peakOf(samples, 0, 10) < peak / 10);
    QVERIFY(peakOf(samples, samples.size() - 10, samples.size()) < peak / 10);
    // The fade is short: the middle of the tone is at full strength.
    QVERIFY(peakOf(samples, samples.size() / 2 - 40, samples.size() / 2 + 40) > peak * 9 / 10);
}

void TestBeeper::clickHasTheAskedPitch() {
    // 1 kHz for 100 ms is 100 periods, two sign changes each.
    const std::vector<qint16> samples = tipora::ui::makeClickSamples(48000, 100, 1000.0);
    int crossings = 0;
    int previousSign = 0;
    for (const int sample : samples) {
        const int sign = (sample > 0) - (sample < 0);
        if (sign != 0 && previousSign != 0 && sign != previousSign)
            ++crossings;
        if (sign != 0)
            previousSign = sign;
    }
    QVERIFY2(std::abs(crossings - 200) <= 4, qPrintable(QString::number(crossings)));
}

void TestBeeper::unusableArgumentsGiveNoClick_data() {
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<double>("frequency");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("zero rate") << 0 << 35 << 1000.0;
    QTest::newRow("absurd rate") << std::numeric_limits<int>::max() << 35 << 1000.0;
    QTest::newRow("zero length") << 44100 << 0 << 1000.0;
    QTest::newRow("absurd length") << 384000 << 100000000 << 1000.0;
    QTest::newRow("not a single sample long") << 100 << 5 << 10.0;
    QTest::newRow("zero frequency") << 44100 << 35 << 0.0;
    QTest::newRow("at half the rate") << 44100 << 35 << 22050.0;
    QTest::newRow("NaN frequency") << 44100 << 35 << nan;
    QTest::newRow("infinite frequency") << 44100 << 35 << infinity;
}

void TestBeeper::unusableArgumentsGiveNoClick() {
    QFETCH(int, sampleRate);
    QFETCH(int, milliseconds);
    QFETCH(double, frequency);
    QVERIFY(tipora::ui::makeClickSamples(sampleRate, milliseconds, frequency).empty());
}

void TestBeeper::clicksLandOnTheirFramesHoweverTheStreamIsCut() {
    const std::vector<qint16> click = rampClick(50);
    const std::vector<qint64> starts{10, 100, 217, 999};
    for (const auto& pieces : {std::vector<qint64>{1000}, std::vector<qint64>{7},
                               std::vector<qint64>{64, 3, 441}, std::vector<qint64>{1}}) {
        ClickTrack track(click, 20, 1000);
        for (const qint64 start : starts)
            QCOMPARE(track.add(start, 0), start);
        const std::vector<qint16> out = renderInPieces(track, 1100, pieces);
        std::vector<qint16> expected(1100, 0);
        for (const qint64 start : starts) {
            for (std::size_t i = 0; i < click.size(); ++i)
                expected[std::size_t(start) + i] = click[i];
        }
        QCOMPARE(out, expected);
    }
}

void TestBeeper::aClickAskedTooLateStartsAtOnce() {
    ClickTrack track(rampClick(10), 20, 1000);
    // Frames up to 500 are already with the sound card.
    QCOMPARE(track.add(480, 500), qint64(500));
    QCOMPARE(track.add(700, 500), qint64(700));
}

void TestBeeper::beepsAskedAtOnceAreHeardOneAfterAnother() {
    ClickTrack track(rampClick(10), 20, 1000);
    // A wrong key with both beeps on: two beeps in the same instant.
    QCOMPARE(track.add(100, 0), qint64(100));
    QCOMPARE(track.add(100, 0), qint64(120));
    QCOMPARE(track.add(100, 0), qint64(140));
    // A beat already far enough behind the last click keeps its place.
    QCOMPARE(track.add(200, 0), qint64(200));
    QCOMPARE(track.add(215, 0), qint64(220));
    std::vector<qint16> out(300);
    track.render(0, out.data(), 300);
    for (const std::size_t start : {100u, 120u, 140u, 200u, 220u}) {
        QCOMPARE(out[start - 1], qint16(0));
        QCOMPARE(out[start], qint16(1));
    }
}

void TestBeeper::aBurstIsThinnedRatherThanDelayed() {
    ClickTrack track(rampClick(10), 20, 50);
    int kept = 0;
    for (int i = 0; i < 10; ++i) {
        if (track.add(100, 0) >= 0)
            ++kept;
    }
    // At 100, 120 and 140: the next would wait 60 frames, more than the 50 allowed.
    QCOMPARE(kept, 3);
    // Later beeps are not held back by the dropped ones.
    QCOMPARE(track.add(300, 0), qint64(300));
}

void TestBeeper::finishedClicksAreForgotten() {
    ClickTrack track(rampClick(10), 20, 1000);
    track.add(0, 0);
    track.add(50, 0);
    std::vector<qint16> out(100);
    track.render(0, out.data(), 30);
    QCOMPARE(track.pending(), std::size_t(2));
    track.render(30, out.data(), 30);
    QCOMPARE(track.pending(), std::size_t(1));
    track.render(60, out.data(), 30);
    QCOMPARE(track.pending(), std::size_t(0));
}

void TestBeeper::evenBeepsLandEvenlyThoughTheWriterStepsUnevenly() {
    // A sound card taking 44100 frames a second in 441-frame periods, and a writer woken about
    // every 10.17 ms (a timer never keeps exactly the card's period), give or take 2 ms, that
    // writes whatever the card has taken beyond a 40 ms buffer: what it has written jumps by
    // whole periods, in a pattern that drifts slowly against the card. Beats every 60 ms must
    // still land 2646 frames apart, give or take a fraction of a millisecond.
    constexpr int rate = 44100;
    StreamClock clock(rate);
    QCOMPARE(clock.frameAt(0), qint64(-1));
    QRandomGenerator random(11);
    const qint64 start = 5'000'000'000;
    qint64 previousBeat = -1;
    qint64 nextBeatTime = start + 2'000'000'000; // after the line has settled
    double worst = 0;
    int beats = 0;
    for (qint64 t = start; t < start + 60'000'000'000;) {
        t += 10'170'000 + qint64(random.bounded(4'000'000)) - 2'000'000;
        while (nextBeatTime < t) {
            const qint64 frame = clock.frameAt(nextBeatTime);
            if (previousBeat >= 0) {
                worst = std::max(worst, std::abs(double(frame - previousBeat - 2646)));
                ++beats;
            }
            previousBeat = frame;
            nextBeatTime += 60'000'000;
        }
        const qint64 taken = (t - start) * rate / 1'000'000'000 / 441 * 441;
        clock.observe(t, taken + rate * 40 / 1000);
    }
    QVERIFY(beats > 900);
    // 44 frames are 1 ms; the writer's own steps are 10 ms.
    QVERIFY2(worst < 22, qPrintable(QString::number(worst)));
}

void TestBeeper::streamClockFollowsACardRunningFast() {
    // A card clock 0.02 % fast (a cheap crystal is off by a tenth of that): over ten minutes
    // that is 120 ms, yet the line keeps within a few milliseconds of what the writer has written.
    constexpr int rate = 44100;
    StreamClock clock(rate);
    double worst = 0;
    for (qint64 t = 0; t <= 600'000'000'000; t += 10'000'000) {
        const auto written = qint64(double(t) * rate * 1.0002 / 1e9);
        if (t > 1'000'000'000)
            worst = std::max(worst, std::abs(double(clock.frameAt(t) - written)));
        clock.observe(t, written);
    }
    QVERIFY2(worst < 5.0 * rate / 1000, qPrintable(QString::number(worst)));
}

void TestBeeper::streamClockJumpsWithAStall() {
    // The stream stalled (an underrun): its frames fall behind the line, and the line must follow
    // at once, or the clicks after it come that much late for seconds. A short stall of 15 ms
    // counts as much as a long one.
    constexpr int rate = 44100;
    for (const qint64 stall : {15'000'000LL, 200'000'000LL}) {
        StreamClock clock(rate);
        for (qint64 t = 0; t < 1'000'000'000; t += 10'000'000)
            clock.observe(t, t * rate / 1'000'000'000);
        const qint64 t = 1'000'000'000;
        clock.observe(t, (t - stall) * rate / 1'000'000'000);
        QCOMPARE(clock.frameAt(t), (t - stall) * rate / 1'000'000'000);
        QCOMPARE(clock.frameAt(t + 10'000'000), (t + 10'000'000 - stall) * rate / 1'000'000'000);
    }
}

void TestBeeper::beatGridKeepsItsPlaceForHours() {
    // A beat that is not a whole number of frames (7 beats a minute: 8571 ms) must not drift as
    // beats add up, and the time the stream took to start is taken off every beat.
    constexpr int rate = 44100;
    constexpr qint64 switchedOn = 5'000'000'000;
    constexpr qint64 started = switchedOn + 3'000'000;
    const tipora::ui::BeatGrid grid(rate, 8571, switchedOn, started);
    for (const qint64 beat : {1LL, 2LL, 7LL, 4200LL}) {
        const double exact = (double(beat) * 8.571 - 0.003) * rate;
        QVERIFY2(std::abs(double(grid.frameOf(beat)) - exact) <= 1.0,
                 qPrintable(QStringLiteral("beat %1: %2").arg(beat).arg(grid.frameOf(beat))));
    }
}

void TestBeeper::withoutSoundTheTimerBeepsTheBeat() {
    // The beat's own stream cannot start without a device; the timer's ticks must then beep
    // rather than stay silent, waiting for a stream that is not there.
    tipora::ui::Beeper beeper;
    beeper.plan({false, 500, 1});
    QTRY_VERIFY_WITH_TIMEOUT(!beeper.keepsBeat(), 2000);
    beeper.plan({false, 0, 1});
    QVERIFY(!beeper.keepsBeat());
}

void TestBeeper::beepingWithoutSoundDeviceReturnsPromptly() {
    // With no sound device every beep must fall back to the bell, not wait for a device or pile
    // up work. The time bound only catches a hang.
    tipora::ui::Beeper beeper;
    QVERIFY(!beeper.isStreaming());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 50; ++i) {
        beeper.beep();
        QCoreApplication::processEvents();
    }
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));

    QTest::qWait(100);
    timer.restart();
    for (int i = 0; i < 50; ++i)
        beeper.beep();
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TestBeeper::beeperCanGoAwayRightAfterBeeping() {
    // A window closed between a key press and the end of its beep takes its beeper with it.
    for (int i = 0; i < 5; ++i) {
        auto beeper = std::make_unique<tipora::ui::Beeper>();
        beeper->beep();
        beeper->beep();
        beeper.reset();
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(TestBeeper)
#include "test_beeper.moc"
