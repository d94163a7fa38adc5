#include "ui/beeper.h"

#include "ui/sound_module.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>

namespace tipora::ui {

namespace {

// About -10 dBFS: clearly audible next to typing noise, but not startling on headphones
// when the system volume is up.
constexpr double peakAmplitude = 0.3;

// Raised cosine, so the envelope has no corner at either end of a ramp.
double smoothStep(double x) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(x, 0.0, 1.0));
}

void ringSystemBell() {
    // Beeps may come from code running before or after the application object exists.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

} // namespace

qint64 steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::vector<qint16> makeClickSamples(int sampleRate, int milliseconds, double frequency) {
    if (sampleRate < 1 || sampleRate > 384000 || milliseconds < 1 || milliseconds > 10000)
        return {};
    // Written so that NaN fails too.
    if (!(frequency > 0.0 && frequency < sampleRate / 2.0))
        return {};
    const qint64 count = qint64(sampleRate) * milliseconds / 1000;
    if (count < 1)
        return {};

    // A few milliseconds of attack is below what the ear hears as a slow start but removes the
    // pop of a waveform switched on mid-swing; the longer release makes the tone die away
    // rather than stop.
    const double attack =
        double(std::max<qint64>(1, std::min<qint64>(count / 4, sampleRate * 3 / 1000)));
    const double release =
        double(std::max<qint64>(1, std::min<qint64>(count / 2, sampleRate * 15 / 1000)));
    const double step = 2.0 * std::numbers::pi * frequency / sampleRate;
    std::vector<qint16> samples(std::size_t(count), 0);
    for (qint64 i = 0; i < count; ++i) {
        const double envelope =
            smoothStep(double(i) / attack) * smoothStep(double(count - 1 - i) / release);
        const double value = peakAmplitude * envelope * std::sin(step * double(i));
        samples[std::size_t(i)] = qint16(std::lround(value * 32767.0));
    }
    return samples;
}

ClickTrack::ClickTrack(std::vector<qint16> click, qint64 minimumSpacing, qint64 maximumDelay)
    : click_(std::move(click)), minimumSpacing_(minimumSpacing), maximumDelay_(maximumDelay) {}

qint64 ClickTrack::add(qint64 wanted, qint64 firstFree) {
    const qint64 earliest = std::max(wanted, firstFree);
    qint64 start = earliest;
    if (lastStart_ >= 0)
        start = std::max(start, lastStart_ + minimumSpacing_);
    if (start - earliest > maximumDelay_)
        return -1;
    starts_.push_back(start);
    lastStart_ = start;
    return start;
}

void ClickTrack::render(qint64 from, qint16* out, qsizetype frames) {
    std::fill(out, out + frames, qint16(0));
    const auto length = qint64(click_.size());
    while (!starts_.empty() && starts_.front() + length <= from)
        starts_.pop_front();
    const qint64 to = from + frames;
    for (const qint64 start : starts_) {
        if (start >= to)
            break;
        const qint64 first = std::max(start, from);
        const qint64 last = std::min(start + length, to);
        for (qint64 frame = first; frame < last; ++frame) {
            // Clicks do not overlap at the spacing used, but a sum that could clip is clamped
            // rather than wrapped round into a crack.
            const int mixed = out[frame - from] + click_[std::size_t(frame - start)];
            out[frame - from] = qint16(std::clamp(mixed, -32768, 32767));
        }
    }
}

void StreamClock::observe(qint64 nanoseconds, qint64 frontier) {
    const qint64 expected = frameAt(nanoseconds);
    const double error = double(frontier - expected);
    // A jump bigger than any step of the writer is a restart, and a writer behind the line by
    // more than a sound card period is a stall (an underrun: the card played silence and takes
    // the samples that much later): follow either at once. Averaged in slowly, a stall would
    // leave every click late by it for seconds.
    if (!started_ || error > double(sampleRate_) / 25.0 || error < -double(sampleRate_) / 100.0) {
        started_ = true;
        anchorTime_ = nanoseconds;
        anchorFrame_ = double(frontier);
        observations_ = 1;
        return;
    }
    // The writer's steps follow the card's periods, and its wake-ups drift slowly against them,
    // so the error swings over seconds, not from one step to the next: only an average over
    // several seconds is steady enough to place beats to the millisecond. Until that many
    // observations exist, a plain average of those there are.
    constexpr qint64 settledObservations = 512;
    observations_ = std::min(observations_ + 1, settledObservations);
    anchorFrame_ += error / double(observations_);
}

qint64 StreamClock::frameAt(qint64 nanoseconds) const {
    if (!started_)
        return -1;
    return qint64(
        std::llround(anchorFrame_ + double(nanoseconds - anchorTime_) * double(sampleRate_) / 1e9));
}

BeatGrid::BeatGrid(int sampleRate, int intervalMilliseconds, qint64 switchedOn, qint64 streamStart)
    : sampleRate_(sampleRate), interval_(intervalMilliseconds),
      offset_(qint64(std::llround(double(switchedOn - streamStart) * sampleRate / 1e9))) {}

qint64 BeatGrid::frameOf(qint64 beat) const {
    // Counted from the switch-on for every beat rather than added up beat by beat, so that
    // intervals that are not a whole number of frames do not drift.
    return offset_ + beat * interval_ * sampleRate_ / 1000;
}

// The sound card as the beeper's thread sees it: the module that plays, read from the disk
// when a beep or a beat is first asked for, so a tutor used without sound never maps the
// sound system's libraries, and starts without them. Lives in the beeper's thread.
class SoundHost : public QObject {
public:
    SoundHost(std::atomic<bool>& streaming, std::atomic<bool>& keepingBeat, std::FILE* log)
        : streaming_(streaming), keepingBeat_(keepingBeat), log_(log) {}
    ~SoundHost() override { card_.reset(); }

    // Null when the module cannot be read: the bell then.
    SoundCard* card() {
        if (!tried_) {
            tried_ = true;
            load();
        }
        return card_.get();
    }
    // Null when nothing was ever loaded.
    SoundCard* loadedCard() const { return card_.get(); }

private:
    void load() {
        const QDir program(QCoreApplication::applicationDirPath());
        for (const QString& folder :
             {program.path(),
              QDir::cleanPath(program.filePath(QStringLiteral(TIPORA_SOUND_MODULE_DIR)))}) {
            const QString file = QDir(folder).filePath(QStringLiteral(TIPORA_SOUND_MODULE_FILE));
            if (!QFileInfo(file).isFile())
                continue;
            loader_.setFileName(file);
            if (auto* module = qobject_cast<SoundModule*>(loader_.instance())) {
                card_ = module->open(streaming_, keepingBeat_, log_);
                return;
            }
        }
    }

    std::atomic<bool>& streaming_;
    std::atomic<bool>& keepingBeat_;
    std::FILE* log_;
    QPluginLoader loader_;
    bool tried_ = false;
    std::unique_ptr<SoundCard> card_;
};

Beeper::Beeper(QObject* parent) : QObject(parent) {
    if (const QByteArray path = qgetenv("TIPORA_BEEP_LOG"); !path.isEmpty())
        log_ = std::fopen(path.constData(), "a");
    host_ = new SoundHost(streaming_, keepingBeat_, log_);
    host_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, host_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("tipora beeper"));
    thread_.start();
}

Beeper::~Beeper() {
    QMetaObject::invokeMethod(
        host_,
        [host = host_] {
            if (SoundCard* card = host->loadedCard())
                card->close();
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    if (log_)
        std::fclose(log_);
}

void Beeper::openStream() {
    if (opened_)
        return;
    // Not before a beep is first planned: a tutor used without beeps never loads the sound
    // system, nor keeps its connection, and the window comes up without waiting for it.
    opened_ = true;
    opening_ = true;
    QMetaObject::invokeMethod(
        host_,
        [this] {
            if (SoundCard* card = host_->card())
                card->openBeeps();
            opening_ = false;
        },
        Qt::QueuedConnection);
}

void Beeper::beatTick() {
    if (log_) {
        std::fprintf(log_, "tick %lld\n", static_cast<long long>(steadyNanoseconds()));
        std::fflush(log_);
    }
    if (!keepingBeat_)
        beep();
}

void Beeper::plan(const SoundPlan& plan) {
    if (plan == plan_)
        return;
    // The moment the metronome's timer starts counting, as near as can be told.
    const qint64 now = steadyNanoseconds();
    const SoundPlan before = plan_;
    plan_ = plan;
    const bool beat = plan.beatMilliseconds > 0;
    if (beat && (plan.beatMilliseconds != before.beatMilliseconds ||
                 plan.beatRestarts != before.beatRestarts)) {
        // Taken as kept from now, so that a tick coming before the stream is up is not heard
        // twice; the stream says so if it cannot start.
        keepingBeat_ = true;
        QMetaObject::invokeMethod(
            host_,
            [this, now, interval = plan.beatMilliseconds] {
                if (SoundCard* card = host_->card())
                    card->startBeat(now, interval);
                else
                    keepingBeat_ = false;
            },
            Qt::QueuedConnection);
    } else if (!beat && before.beatMilliseconds > 0) {
        keepingBeat_ = false;
        if (log_) {
            std::fprintf(log_, "beatoff %lld\n", static_cast<long long>(now));
            std::fflush(log_);
        }
        QMetaObject::invokeMethod(
            host_,
            [host = host_] {
                if (SoundCard* card = host->loadedCard())
                    card->stopBeat();
            },
            Qt::QueuedConnection);
    }
    if (plan.beepsSoon)
        openStream();
    if (plan.beepsSoon != before.beepsSoon || beat != (before.beatMilliseconds > 0)) {
        QMetaObject::invokeMethod(
            host_,
            [host = host_, beeps = plan.beepsSoon, beat] {
                if (SoundCard* card = host->loadedCard())
                    card->planBeeps(beeps, beat);
            },
            Qt::QueuedConnection);
    }
}

void Beeper::beep() {
    // The moment is taken here: however long the message takes to reach the stream's thread,
    // the click lands where this moment falls in the stream.
    const qint64 now = steadyNanoseconds();
    // A beep nobody planned for opens the stream as well; until it plays, beeps wait for it.
    openStream();
    if (!streaming_ && !opening_) {
        ringSystemBell();
        return;
    }
    QMetaObject::invokeMethod(
        host_,
        [host = host_, now] {
            if (SoundCard* card = host->loadedCard())
                card->addBeep(now);
        },
        Qt::QueuedConnection);
}

} // namespace tipora::ui
