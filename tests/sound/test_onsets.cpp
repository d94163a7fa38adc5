// The click counter the recording test and the beat benchmark rely on, on waveforms whose
// clicks are known: the program's own click, placed at chosen samples, with hiss and hum.
#include "sound/onsets.h"
#include "ui/beeper.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <numbers>

using tipora::sound::findOnsets;

namespace {

constexpr int rate = 44100;

struct Waveform {
    std::vector<qint16> samples;

    explicit Waveform(double seconds) : samples(std::size_t(seconds * rate), 0) {}

    void addClick(qint64 at, double gain = 1.0) {
        const std::vector<qint16> click = tipora::ui::makeClickSamples(rate, 35, 1200.0);
        for (std::size_t i = 0; i < click.size() && std::size_t(at) + i < samples.size(); ++i)
            samples[std::size_t(at) + i] =
                qint16(std::lround(samples[std::size_t(at) + i] + gain * click[i]));
    }

    // Hiss and mains hum as a real card would add, well under the threshold.
    void addNoise(int amplitude) {
        QRandomGenerator random(7);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double hum =
                amplitude * 0.5 * std::sin(2 * std::numbers::pi * 50.0 * double(i) / rate);
            const double hiss = amplitude * 0.5 * (random.generateDouble() * 2.0 - 1.0);
            samples[i] = qint16(std::lround(samples[i] + hum + hiss));
        }
    }
};

} // namespace

class TestOnsets : public QObject {
    Q_OBJECT

private slots:
    void clicksAreFoundWhereTheyStart_data() {
        QTest::addColumn<int>("noise");
        QTest::newRow("clean") << 0;
        QTest::newRow("hiss and hum") << 600;
    }

    void clicksAreFoundWhereTheyStart() {
        QFETCH(int, noise);
        Waveform wave(3.0);
        // Uneven spacing, the two closest as close as a double beep puts them.
        const std::vector<qint64> placed{2000, 24050, 26035, 50000, 90001, 120000};
        for (const qint64 at : placed)
            wave.addClick(at);
        wave.addNoise(noise);
        const std::vector<qint64> found = findOnsets(wave.samples, rate);
        QCOMPARE(found.size(), placed.size());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            // The threshold is met within the click's first millisecond.
            QVERIFY2(found[i] >= placed[i] && found[i] - placed[i] < rate / 1000,
                     qPrintable(QStringLiteral("click %1 at %2, found at %3")
                                    .arg(i)
                                    .arg(placed[i])
                                    .arg(found[i])));
        }
    }

    void overlappingOrFaintClicksAreNotCounted() {
        Waveform wave(1.0);
        wave.addClick(1000);
        wave.addClick(1000 + rate * 20 / 1000); // starts inside the first: one sound
        wave.addClick(20000, 0.1);              // far below the threshold
        wave.addClick(30000);
        const std::vector<qint64> found = findOnsets(wave.samples, rate);
        QCOMPARE(found.size(), std::size_t(2));
        QVERIFY(found[0] - 1000 < rate / 1000);
        QVERIFY(found[1] - 30000 < rate / 1000);
    }

    void aRecordingStartingMidClickDoesNotCountIt() {
        Waveform wave(0.5);
        wave.addClick(0);
        const std::vector<qint16> cut(wave.samples.begin() + 400, wave.samples.end());
        QVERIFY(findOnsets(cut, rate).empty());
        QVERIFY(findOnsets(std::vector<qint16>(rate, 0), rate).empty());
    }

    void beatStatisticsOfAKnownBeat() {
        // 500 ms beats, one 10 ms late, one missing.
        std::vector<qint64> onsets;
        for (int i = 0; i < 10; ++i) {
            if (i != 6)
                onsets.push_back(qint64(i) * rate / 2 + (i == 3 ? rate / 100 : 0));
        }
        const auto stats = tipora::sound::beatStats(onsets, rate, 500.0);
        QCOMPARE(stats.count, std::size_t(9));
        QCOMPARE(stats.longestInterval, 1000.0);
        QCOMPARE(stats.shortestInterval, 490.0);
        // 4500 ms over 8 intervals: the missing beat shows in the mean.
        QCOMPARE(stats.meanInterval, 562.5);
        QVERIFY(std::abs(stats.meanError - 62.5) < 1e-9);
        QCOMPARE(stats.p99IntervalError, 500.0);
    }

    void gridErrorIsTheStrayFromAnEvenBeat() {
        std::vector<qint64> even;
        for (int i = 0; i < 200; ++i)
            even.push_back(qint64(i) * 2646); // 60 ms at 44.1 kHz
        QVERIFY(tipora::sound::beatStats(even, rate, 60.0).p99GridError < 1e-6);
        QVERIFY(std::abs(tipora::sound::beatStats(even, rate, 60.0).meanError) < 1e-9);
        std::vector<qint64> jittered = even;
        for (std::size_t i = 0; i < jittered.size(); i += 10)
            jittered[i] += 441; // every tenth beat 10 ms late
        const auto stats = tipora::sound::beatStats(jittered, rate, 60.0);
        QVERIFY2(stats.p99GridError > 8.0 && stats.p99GridError < 11.0,
                 qPrintable(QString::number(stats.p99GridError)));
    }

    void percentileOfAFewValues() {
        QCOMPARE(tipora::sound::percentile({}, 0.99), 0.0);
        QCOMPARE(tipora::sound::percentile({3.0, 1.0, 2.0}, 0.5), 2.0);
        std::vector<double> hundred;
        for (int i = 1; i <= 100; ++i)
            hundred.push_back(i);
        QCOMPARE(tipora::sound::percentile(hundred, 0.99), 99.0);
        QCOMPARE(tipora::sound::percentile(hundred, 1.0), 100.0);
    }
};

QTEST_GUILESS_MAIN(TestOnsets)
#include "test_onsets.moc"
