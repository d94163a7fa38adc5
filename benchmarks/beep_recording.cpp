// Measures the metronome as it is heard: the real program runs its metronome for as long as
// asked, what reaches its sound card is recorded, and the clicks in the recording are compared
// with the beat and with the moments the program's timer asked for them.
//   bench_beep_recording [beats per minute = 120] [seconds = 60]
// With TIPORA_KEEP_RECORDING set, the recording and the program's beep log are kept.
// Prints the beat's mean error and jitter from the recording, the latency from timer tick to
// the click's onset, and lost, late or extra clicks; exits 1 when there are any.
#include "sound/onsets.h"
#include "sound/sound_rig.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using tipora::sound::SoundRig;

namespace {

// The lines of the program's beep log that start with `kind`, split into fields.
std::vector<QList<QByteArray>> logLines(const QString& path, const QByteArray& kind) {
    std::vector<QList<QByteArray>> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    while (!file.atEnd()) {
        QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == kind)
            lines.push_back(std::move(fields));
    }
    return lines;
}

// When the metronome's timer ticked.
std::vector<qint64> readTicks(const QString& path) {
    std::vector<qint64> ticks;
    for (const QList<QByteArray>& fields : logLines(path, "tick"))
        ticks.push_back(fields[1].toLongLong());
    return ticks;
}

// The beeps stream's buffer sizes in the order the program used them (it grows after an
// underrun), and the times the beats' stream found the card had run dry.
QStringList bufferSizes(const QString& path) {
    QStringList sizes;
    for (const QList<QByteArray>& fields : logLines(path, "buffer"))
        sizes << QString::fromLatin1(fields[1]);
    return sizes;
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double v : values)
        sum += v;
    return values.empty() ? 0.0 : sum / double(values.size());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int tempo = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 1000) : 120;
    const int seconds = argc > 2 ? std::max(2, std::atoi(argv[2])) : 60;
    const double period = 60000 / tempo; // the timer counts whole milliseconds
    constexpr int rate = SoundRig::sampleRate;

    SoundRig rig;
    if (qEnvironmentVariableIsSet("TIPORA_KEEP_RECORDING")) {
        rig.keepFiles();
        std::printf("recording and logs kept in %s\n", qPrintable(rig.workPath({})));
    }
    QString why;
    if (rig.start(&why) != SoundRig::Start::Ok) {
        std::printf("cannot run: %s\n", qPrintable(why));
        return 2;
    }
    const QString log = rig.workPath(QStringLiteral("beeps.log"));
    const QByteArray ini = QByteArray(" ") + QByteArray::number(tempo) + "  1  0  0 \r\n";
    if (!rig.launch(ini, {QStringLiteral("TIPORA_BEEP_LOG=") + log}) || !rig.clickMetronome()) {
        std::printf("cannot drive the program: %s\n", qPrintable(rig.error()));
        return 2;
    }
    rig.wait(seconds * 1000 + int(period / 2));
    if (!rig.clickMetronome() || !rig.finish()) {
        std::printf("cannot drive the program: %s\n", qPrintable(rig.error()));
        return 2;
    }

    const std::vector<qint16> samples = rig.recording();
    const std::vector<qint64> onsets = tipora::sound::findOnsets(samples, rate);
    const std::vector<qint64> beeps = readTicks(log);
    const auto stats = tipora::sound::beatStats(onsets, rate, period);

    std::printf("tempo %d (timer %.0f ms) for %d s: %zu timer ticks, %zu clicks recorded\n", tempo,
                period, seconds, beeps.size(), onsets.size());
    std::printf("beat from the recording: mean %.3f ms (error %+.3f ms), intervals %.1f..%.1f ms,"
                " p99 |interval - beat| %.2f ms, p99 |onset - even grid| %.2f ms\n",
                stats.meanInterval, stats.meanError, stats.shortestInterval, stats.longestInterval,
                stats.p99IntervalError, stats.p99GridError);

    // The timer's own evenness, to tell its jitter from the sound path's.
    std::vector<double> tickErrors;
    for (std::size_t i = 1; i < beeps.size(); ++i)
        tickErrors.push_back(std::abs(double(beeps[i] - beeps[i - 1]) / 1e6 - period));
    std::printf("timer ticks: p99 |interval - beat| %.2f ms, worst %.2f ms\n",
                tipora::sound::percentile(tickErrors, 0.99),
                tipora::sound::percentile(tickErrors, 1.0));

    // The beats due between the switch-on and the switch-off, from the program's log. The
    // clicks are placed from the switch-on, so the n-th click is beat n whatever the timer did:
    // a tick the busy main thread missed, or one that came late, changes nothing that is heard.
    const auto on = logLines(log, "beats");
    const auto off = logLines(log, "beatoff");
    if (on.empty() || off.empty() || on.front().size() < 4) {
        std::printf("the program's log holds no switch-on and switch-off of the beat\n");
        return 2;
    }
    const qint64 switchedOn = on.front()[1].toLongLong();
    const qint64 switchedOff = off.back()[1].toLongLong();
    const qint64 beatNs = on.front()[3].toLongLong() * 1'000'000;
    // The beats are counted out in the card's samples, so they keep the card's clock, which may
    // run a little fast or slow against the computer's: the recording shows by how much.
    const double recordedSeconds = double(samples.size()) / rate;
    const double cardPace = 1.0 - double(rig.recordingSlip()) / 1e9 /
                                      (recordedSeconds + double(rig.recordingSlip()) / 1e9);
    const auto expected = std::size_t(double(switchedOff - switchedOn) * cardPace / double(beatNs));
    // Sample times come from when the recording started, corrected by how far its pace was off
    // by the end.
    const auto total = qint64(std::max<std::size_t>(samples.size(), 1));
    const auto onsetTime = [&](std::size_t i) {
        return rig.recordingStart() + onsets[i] * 1'000'000'000 / rate +
               qint64(double(rig.recordingSlip()) * double(onsets[i]) / double(total));
    };
    // Each tick against its beat's click: latency from the timer to the sound.
    std::vector<double> latencies;
    for (const qint64 tick : beeps) {
        const auto beat = qint64(std::llround(double(tick - switchedOn) / double(beatNs)));
        if (beat >= 1 && std::size_t(beat) <= onsets.size())
            latencies.push_back(double(onsetTime(std::size_t(beat - 1)) - tick) / 1e6);
    }
    // Lost: beats due without a click, and gaps where a beat is missing.
    std::size_t lost = expected > onsets.size() ? expected - onsets.size() : 0;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        const double gap = double(onsets[i] - onsets[i - 1]) * 1000.0 / rate;
        if (gap > 1.5 * period)
            lost += std::size_t(std::lround(gap / period)) - 1;
    }
    std::size_t afterOff = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i)
        afterOff += onsetTime(i) > switchedOff + 50'000'000 ? 1 : 0;
    // Late: a click more than 5 ms behind its place on the beat, the beat being the even grid
    // through the first click at the timer's period. Clicks are placed ahead from the
    // switch-on, so a timer tick that comes late does not make its click late, and is not
    // counted against the sound path.
    std::size_t late = 0;
    std::vector<double> gridErrors;
    for (const qint64 onset : onsets) {
        const double sinceFirst = double(onset - onsets.front()) * 1000.0 / rate;
        const double error = sinceFirst - std::round(sinceFirst / period) * period;
        gridErrors.push_back(std::abs(error));
        if (error > 5.0)
            ++late;
    }
    std::vector<double> latencyChanges;
    for (std::size_t i = 1; i < latencies.size(); ++i)
        latencyChanges.push_back(std::abs(latencies[i] - latencies[i - 1]));
    std::printf(
        "latency tick to onset: mean %.1f ms, median %.1f ms, min %.1f ms, p99 %.1f ms, "
        "max %.1f ms; change from one click to the next: p99 %.2f ms, worst %.2f ms\n",
        mean(latencies), tipora::sound::percentile(latencies, 0.5),
        tipora::sound::percentile(latencies, 0.0), tipora::sound::percentile(latencies, 0.99),
        tipora::sound::percentile(latencies, 1.0), tipora::sound::percentile(latencyChanges, 0.99),
        tipora::sound::percentile(latencyChanges, 1.0));
    std::printf("clicks off the even beat: p99 %.2f ms, worst %.2f ms\n",
                tipora::sound::percentile(gridErrors, 0.99),
                tipora::sound::percentile(gridErrors, 1.0));
    std::printf("recording's pace against the clock: %+.1f ms over the run (the card's clock "
                "%+.0f ppm against the computer's; the timer's ticks keep the computer's)\n",
                double(rig.recordingSlip()) / 1e6, (cardPace - 1.0) * 1e6);
    std::printf("beeps stream buffer: %s ms; beats stream ran dry %zu times\n",
                qPrintable(bufferSizes(log).isEmpty()
                               ? QStringLiteral("(not opened)")
                               : bufferSizes(log).join(QStringLiteral(" -> "))),
                logLines(log, "beatgap").size());
    std::printf("beats due %zu, timer ticks %zu; lost clicks: %zu, late clicks: %zu, extra "
                "clicks: %lld, clicks after the switch-off: %zu\n",
                expected, beeps.size(), lost, late,
                static_cast<long long>(onsets.size()) - static_cast<long long>(expected), afterOff);
    // A beat due at the very moment of the switch-off may have reached the card already.
    const bool ok = lost == 0 && late == 0 && afterOff == 0 && onsets.size() >= expected &&
                    onsets.size() <= expected + 1 && stats.longestInterval < 1.5 * period;
    std::printf("%s\n", ok ? "no click lost or late" : "CLICKS LOST OR LATE");
    return ok ? 0 : 1;
}
