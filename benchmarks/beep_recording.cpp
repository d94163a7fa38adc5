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

struct Beep {
    qint64 nanoseconds;
    qint64 wanted; // stream frame the moment fell on
    qint64 placed; // stream frame the click starts at
};

std::vector<Beep> readBeepLog(const QString& path) {
    std::vector<Beep> beeps;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return beeps;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() >= 4 && fields[0] == "beep")
            beeps.push_back(
                {fields[1].toLongLong(), fields[2].toLongLong(), fields[3].toLongLong()});
    }
    return beeps;
}

// The stream's buffer sizes in the order the program used them (it grows after an underrun).
QStringList bufferSizes(const QString& path) {
    QStringList sizes;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!file.atEnd()) {
            const QList<QByteArray> fields = file.readLine().simplified().split(' ');
            if (fields.size() == 2 && fields[0] == "buffer")
                sizes << QString::fromLatin1(fields[1]);
        }
    }
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
    const std::vector<Beep> beeps = readBeepLog(log);
    const auto stats = tipora::sound::beatStats(onsets, rate, period);

    std::printf("tempo %d (timer %.0f ms) for %d s: %zu ticks, %zu clicks recorded\n", tempo,
                period, seconds, beeps.size(), onsets.size());
    std::printf("beat from the recording: mean %.3f ms (error %+.3f ms), intervals %.1f..%.1f ms,"
                " p99 |interval - beat| %.2f ms, p99 |onset - even grid| %.2f ms\n",
                stats.meanInterval, stats.meanError, stats.shortestInterval, stats.longestInterval,
                stats.p99IntervalError, stats.p99GridError);

    // The timer's own evenness, to tell its jitter from the sound path's.
    std::vector<double> tickErrors;
    for (std::size_t i = 1; i < beeps.size(); ++i)
        tickErrors.push_back(
            std::abs(double(beeps[i].nanoseconds - beeps[i - 1].nanoseconds) / 1e6 - period));
    std::printf("timer ticks: p99 |interval - beat| %.2f ms, worst %.2f ms\n",
                tipora::sound::percentile(tickErrors, 0.99),
                tipora::sound::percentile(tickErrors, 1.0));

    // Each tick's click: the first onset at or after it (the onset cannot precede the tick).
    // Sample times come from when the recording started, corrected by how far its pace was off
    // by the end.
    std::vector<double> latencies;
    std::size_t lost = 0;
    std::size_t next = 0;
    const auto total = qint64(std::max<std::size_t>(samples.size(), 1));
    const auto onsetTime = [&](std::size_t i) {
        return rig.recordingStart() + onsets[i] * 1'000'000'000 / rate +
               qint64(double(rig.recordingSlip()) * double(onsets[i]) / double(total));
    };
    for (const Beep& beep : beeps) {
        while (next < onsets.size() && onsetTime(next) < beep.nanoseconds - 2'000'000)
            ++next;
        if (next < onsets.size() && onsetTime(next) - beep.nanoseconds < 250'000'000) {
            latencies.push_back(double(onsetTime(next) - beep.nanoseconds) / 1e6);
            ++next;
        } else {
            ++lost;
        }
    }
    // Late: the sound path took more than 5 ms longer than for the click before. The timer's
    // own lateness is not counted, as the latency starts at the tick.
    std::size_t late = 0;
    std::vector<double> latencyChanges;
    for (std::size_t i = 1; i < latencies.size(); ++i) {
        latencyChanges.push_back(std::abs(latencies[i] - latencies[i - 1]));
        if (latencies[i] > latencies[i - 1] + 5.0)
            ++late;
    }
    std::printf(
        "latency tick to onset: mean %.1f ms, median %.1f ms, min %.1f ms, p99 %.1f ms, "
        "max %.1f ms; change from one click to the next: p99 %.2f ms, worst %.2f ms\n",
        mean(latencies), tipora::sound::percentile(latencies, 0.5),
        tipora::sound::percentile(latencies, 0.0), tipora::sound::percentile(latencies, 0.99),
        tipora::sound::percentile(latencies, 1.0), tipora::sound::percentile(latencyChanges, 0.99),
        tipora::sound::percentile(latencyChanges, 1.0));
    std::printf("recording's pace against the clock: %+.1f ms over the run\n",
                double(rig.recordingSlip()) / 1e6);
    std::printf("stream buffer: %s ms\n",
                qPrintable(bufferSizes(log).join(QStringLiteral(" -> "))));
    std::printf("lost clicks: %zu, late clicks: %zu, extra clicks: %lld\n", lost, late,
                static_cast<long long>(onsets.size()) -
                    static_cast<long long>(beeps.size() - lost));
    const bool ok = lost == 0 && late == 0 && onsets.size() == beeps.size() &&
                    stats.longestInterval < 1.5 * period;
    std::printf("%s\n", ok ? "no click lost or late" : "CLICKS LOST OR LATE");
    return ok ? 0 : 1;
}
