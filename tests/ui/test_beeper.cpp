#include "ui/beeper.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

quint16 le16(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 le32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

std::vector<int> samplesOf(const QByteArray& wav) {
    std::vector<int> samples;
    for (int offset = 44; offset + 1 < wav.size(); offset += 2)
        samples.push_back(qint16(le16(wav, offset)));
    return samples;
}

int peakOf(const std::vector<int>& samples, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

} // namespace

class TestBeeper : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void wavHeader_data();
    void wavHeader();
    void toneFadesInAndOutAtModerateVolume();
    void toneHasTheAskedPitch();
    void silenceFollowsAnUnchangedTone();
    void unusableArgumentsGiveNoWav_data();
    void unusableArgumentsGiveNoWav();
    void beepingWithoutSoundDeviceReturnsPromptly();
    void beeperCanGoAwayRightAfterBeeping();
};

void TestBeeper::initTestCase() {
    // Every machine then has the same deviceless sound system, and a developer's speakers do not
    // click a hundred times. The sound system reads this when first used, which is after here.
    qputenv("PULSE_SERVER", "unix:/nonexistent/tipora-test-no-sound");
}

void TestBeeper::wavHeader_data() {
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<int>("silence");
    QTest::addColumn<quint32>("samples");
    QTest::newRow("44.1 kHz, fraction dropped") << 44100 << 35 << 0 << quint32(1543);
    QTest::newRow("48 kHz") << 48000 << 40 << 0 << quint32(1920);
    QTest::newRow("high rate") << 192000 << 1000 << 0 << quint32(192000);
    QTest::newRow("silence counted in") << 44100 << 35 << 300 << quint32(1543 + 13230);
}

void TestBeeper::wavHeader() {
    QFETCH(int, sampleRate);
    QFETCH(int, milliseconds);
    QFETCH(int, silence);
    QFETCH(quint32, samples);

    const QByteArray wav = tipora::ui::makeClickWav(sampleRate, milliseconds, 1000.0, silence);
    QCOMPARE(wav.size(), qsizetype(44 + samples * 2));
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(le32(wav, 4), quint32(wav.size() - 8));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(le32(wav, 16), 16u);        // fmt chunk size
    QCOMPARE(le16(wav, 20), quint16(1)); // PCM
    QCOMPARE(le16(wav, 22), quint16(1)); // mono
    QCOMPARE(le32(wav, 24), quint32(sampleRate));
    QCOMPARE(le32(wav, 28), quint32(sampleRate * 2));
    QCOMPARE(le16(wav, 32), quint16(2));  // block align
    QCOMPARE(le16(wav, 34), quint16(16)); // bits per sample
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32(wav, 40), samples * 2);
}

void TestBeeper::toneFadesInAndOutAtModerateVolume() {
    const QByteArray wav = tipora::ui::makeClickWav(44100, 35, 1200.0);
    const std::vector<int> samples = samplesOf(wav);
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

void TestBeeper::toneHasTheAskedPitch() {
    // 1 kHz for 100 ms is 100 periods, two sign changes each.
    const std::vector<int> samples = samplesOf(tipora::ui::makeClickWav(48000, 100, 1000.0));
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

void TestBeeper::silenceFollowsAnUnchangedTone() {
    const std::vector<int> bare = samplesOf(tipora::ui::makeClickWav(44100, 35, 1200.0));
    const std::vector<int> padded = samplesOf(tipora::ui::makeClickWav(44100, 35, 1200.0, 300));
    QCOMPARE(padded.size(), bare.size() + 13230);
    QVERIFY(std::equal(bare.begin(), bare.end(), padded.begin()));
    QCOMPARE(peakOf(padded, bare.size(), padded.size()), 0);
}

void TestBeeper::unusableArgumentsGiveNoWav_data() {
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("silence");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("zero rate") << 0 << 35 << 1000.0 << 0;
    QTest::newRow("absurd rate") << std::numeric_limits<int>::max() << 35 << 1000.0 << 0;
    QTest::newRow("zero length") << 44100 << 0 << 1000.0 << 0;
    QTest::newRow("length that would overflow the header") << 384000 << 100000000 << 1000.0 << 0;
    QTest::newRow("not a single sample long") << 100 << 5 << 10.0 << 0;
    QTest::newRow("silence alone") << 100 << 5 << 10.0 << 300;
    QTest::newRow("negative silence") << 44100 << 35 << 1000.0 << -1;
    QTest::newRow("silence that would overflow the header") << 384000 << 35 << 1000.0 << 100000000;
    QTest::newRow("zero frequency") << 44100 << 35 << 0.0 << 0;
    QTest::newRow("at half the rate") << 44100 << 35 << 22050.0 << 0;
    QTest::newRow("NaN frequency") << 44100 << 35 << nan << 0;
    QTest::newRow("infinite frequency") << 44100 << 35 << infinity << 0;
}

void TestBeeper::unusableArgumentsGiveNoWav() {
    QFETCH(int, sampleRate);
    QFETCH(int, milliseconds);
    QFETCH(double, frequency);
    QFETCH(int, silence);
    QVERIFY(tipora::ui::makeClickWav(sampleRate, milliseconds, frequency, silence).isEmpty());
}

void TestBeeper::beepingWithoutSoundDeviceReturnsPromptly() {
    // With no sound device every beep must fall back to the bell, not wait for a device or pile
    // up work. The time bound only catches a hang.
    tipora::ui::Beeper beeper;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 50; ++i) {
        beeper.beep();
        QCoreApplication::processEvents();
    }
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));

    // Loading, if anything started it, finishes in the event loop; beeping must stay safe after.
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
