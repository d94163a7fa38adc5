#include "ui/beeper.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>

namespace tipora::ui {

namespace {

// Short enough that beeps 60 ms apart at the fastest metronome tempo stay separate, long enough
// to be a tone rather than a tick; the pitch sits where the ear is sensitive without being shrill.
constexpr int clickMilliseconds = 35;
constexpr double clickFrequency = 1200.0;

// About -10 dBFS: clearly audible next to typing noise, but not startling on headphones
// when the system volume is up.
constexpr double peakAmplitude = 0.3;

// Two beeps asked at once start this far apart: the click and a short pause, so the ear hears
// two. Still below the 60 ms between beats at the fastest tempo, so the metronome alone is
// never held back.
constexpr int spacingMilliseconds = 45;
// A burst that would have to wait longer (a held key repeating with the key beep on) is thinned
// rather than heard ever later.
constexpr int maximumDelayMilliseconds = 200;

// What the sound server is asked to hold unplayed, which it splits between the card and the
// stream: small, because it is most of the delay between a key and its click (about 47 ms at
// 60 ms, 64 ms at 80). A machine too busy to top it up in time makes the card run dry (an
// underrun: a gap, and a click cut or late); at 40 ms that happened within the first second of
// a busy machine. Each underrun buys a larger buffer, up to a limit, at the cost of the clicks
// after it coming that much later.
constexpr int initialBufferMilliseconds = 60;
constexpr int bufferStepMilliseconds = 20;
constexpr int largestBufferMilliseconds = 100;
// How often the stream is topped up; well inside the buffer.
constexpr int feedMilliseconds = 10;
// How far beyond the written samples a click is placed: the writer runs up to a sound card
// period (10 ms on PulseAudio here) ahead of its average, and a click placed where samples are
// already written would be late.
constexpr int leadMilliseconds = 12;

// Raised cosine, so the envelope has no corner at either end of a ramp.
double smoothStep(double x) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(x, 0.0, 1.0));
}

void ringSystemBell() {
    // Beeps may come from code running before or after the application object exists.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

qint64 steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 framesIn(int milliseconds, int sampleRate) {
    return qint64(sampleRate) * milliseconds / 1000;
}

} // namespace

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

// The sound card's side of the beeper: the stream, what goes into it and when. Lives in the
// beeper's thread; every member is used there only.
class ClickStream : public QObject {
public:
    explicit ClickStream(std::atomic<bool>& streaming) : streaming_(streaming) {
        if (const QByteArray path = qgetenv("TIPORA_BEEP_LOG"); !path.isEmpty())
            log_ = std::fopen(path.constData(), "a");
        feedTimer_.setTimerType(Qt::PreciseTimer);
        feedTimer_.setInterval(feedMilliseconds);
        connect(&feedTimer_, &QTimer::timeout, this, &ClickStream::feed);
    }

    ~ClickStream() override {
        close();
        if (log_)
            std::fclose(log_);
    }

    void start() {
        devices_ = std::make_unique<QMediaDevices>();
        // Headphones plugged in mid-lesson take over from the speakers, and a sound server that
        // comes up later takes over from the bell.
        connect(devices_.get(), &QMediaDevices::audioOutputsChanged, this,
                &ClickStream::onOutputsChanged);
        open(QMediaDevices::defaultAudioOutput());
    }

    void close();
    void add(qint64 nanoseconds);

private:
    void open(const QAudioDevice& device);
    bool startSink();
    void growBuffer();
    void feed();
    void onStateChanged();
    void onOutputsChanged();

    std::atomic<bool>& streaming_;
    std::unique_ptr<QMediaDevices> devices_;
    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* output_ = nullptr; // owned by sink_
    QTimer feedTimer_{this};
    std::unique_ptr<ClickTrack> track_;
    std::unique_ptr<StreamClock> clock_;
    qint64 written_ = 0;
    qint64 lead_ = 0;
    int bufferMilliseconds_ = initialBufferMilliseconds;
    bool growing_ = false;
    std::vector<qint16> chunk_;
    // Set by TIPORA_BEEP_LOG, for timing measurements: when each beep was asked and where in
    // the stream it went, and how the writer advanced.
    std::FILE* log_ = nullptr;
};

void ClickStream::add(qint64 nanoseconds) {
    qint64 wanted = -1;
    qint64 placed = -1;
    if (output_) {
        wanted = clock_->frameAt(nanoseconds);
        // Before the first write, the first write is soon enough.
        placed = track_->add(wanted < 0 ? written_ : wanted + lead_, written_);
    }
    if (log_) {
        std::fprintf(log_, "beep %lld %lld %lld %lld\n", static_cast<long long>(nanoseconds),
                     static_cast<long long>(wanted), static_cast<long long>(placed),
                     static_cast<long long>(written_));
        std::fflush(log_);
    }
}

void ClickStream::open(const QAudioDevice& device) {
    close();
    if (device.isNull())
        return;

    // The device's own rate spares the server resampling the click.
    QAudioFormat format;
    const int preferredRate = device.preferredFormat().sampleRate();
    format.setSampleRate(preferredRate > 0 ? preferredRate : 44100);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        format.setSampleRate(44100);
        if (!device.isFormatSupported(format))
            return;
    }
    const int rate = format.sampleRate();
    std::vector<qint16> click = makeClickSamples(rate, clickMilliseconds, clickFrequency);
    if (click.empty())
        return;

    device_ = device;
    format_ = format;
    if (!startSink())
        return;
    track_ = std::make_unique<ClickTrack>(std::move(click), framesIn(spacingMilliseconds, rate),
                                          framesIn(maximumDelayMilliseconds, rate));
    clock_ = std::make_unique<StreamClock>(rate);
    written_ = 0;
    lead_ = framesIn(leadMilliseconds, rate);
    // Filled now, so the server is playing before the first beep can be asked.
    feed();
    feedTimer_.start();
    streaming_ = true;
}

bool ClickStream::startSink() {
    sink_ = std::make_unique<QAudioSink>(device_, format_);
    sink_->setBufferSize(qsizetype(format_.bytesForDuration(bufferMilliseconds_ * 1000)));
    QIODevice* output = sink_->start();
    if (!output || sink_->error() != QAudio::NoError) {
        sink_.reset();
        return false;
    }
    connect(sink_.get(), &QAudioSink::stateChanged, this, &ClickStream::onStateChanged);
    output_ = output;
    if (log_)
        std::fprintf(log_, "buffer %d\n", bufferMilliseconds_);
    return true;
}

void ClickStream::growBuffer() {
    growing_ = false;
    if (!output_)
        return;
    // A new stream with the larger buffer goes on where the old one stopped: the clicks keep
    // their frames, and the clock starts over, as the new stream fills before it plays.
    output_ = nullptr;
    sink_->disconnect(this);
    sink_->stop();
    sink_.reset();
    bufferMilliseconds_ =
        std::min(bufferMilliseconds_ + bufferStepMilliseconds, largestBufferMilliseconds);
    if (!startSink()) {
        close();
        return;
    }
    clock_ = std::make_unique<StreamClock>(format_.sampleRate());
    feed();
}

void ClickStream::close() {
    streaming_ = false;
    feedTimer_.stop();
    output_ = nullptr;
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        sink_.reset();
    }
    track_.reset();
    clock_.reset();
}

void ClickStream::feed() {
    if (!output_)
        return;
    const int bytesPerFrame = format_.bytesPerFrame();
    const qsizetype frames = sink_->bytesFree() / bytesPerFrame;
    if (frames <= 0)
        return;
    chunk_.resize(std::size_t(frames));
    track_->render(written_, chunk_.data(), frames);
    const qint64 bytes = output_->write(reinterpret_cast<const char*>(chunk_.data()),
                                        qint64(frames) * bytesPerFrame);
    if (bytes <= 0)
        return;
    written_ += bytes / bytesPerFrame;
    const qint64 now = steadyNanoseconds();
    if (log_) {
        std::fprintf(log_, "feed %lld %lld %lld %lld\n", static_cast<long long>(now),
                     static_cast<long long>(clock_->frameAt(now)), static_cast<long long>(written_),
                     static_cast<long long>(sink_->processedUSecs()));
    }
    clock_->observe(now, written_);
}

void ClickStream::onStateChanged() {
    if (!output_)
        return;
    if (log_) {
        std::fprintf(log_, "state %lld %d %d\n", static_cast<long long>(steadyNanoseconds()),
                     int(sink_->state()), int(sink_->error()));
    }
    switch (sink_->error()) {
    case QAudio::NoError:
    case QAudio::UnderrunError:
        // Idle while being fed is an underrun. The sink is telling us from inside its own
        // call, so the new stream comes after.
        if (sink_->state() == QAudio::IdleState && !growing_ &&
            bufferMilliseconds_ < largestBufferMilliseconds) {
            growing_ = true;
            QTimer::singleShot(0, this, &ClickStream::growBuffer);
        }
        return;
    case QAudio::OpenError:
    case QAudio::IOError:
    case QAudio::FatalError:
        break;
    }
    // The stream is gone (the server quit, the device vanished): the bell until a device
    // appears. The sink is in the middle of telling us, so it goes later.
    streaming_ = false;
    feedTimer_.stop();
    output_ = nullptr;
    sink_->disconnect(this);
    sink_.release()->deleteLater();
    track_.reset();
    clock_.reset();
}

void ClickStream::onOutputsChanged() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!output_ || device != device_)
        open(device);
}

Beeper::Beeper(QObject* parent) : QObject(parent), stream_(new ClickStream(streaming_)) {
    stream_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, stream_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("tipora beeper"));
    thread_.start();
    // Waits for the stream to play, so that whatever comes next may beep.
    QMetaObject::invokeMethod(stream_, &ClickStream::start, Qt::BlockingQueuedConnection);
}

Beeper::~Beeper() {
    QMetaObject::invokeMethod(stream_, &ClickStream::close, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void Beeper::beep() {
    // The moment is taken here: however long the message takes to reach the stream's thread,
    // the click lands where this moment falls in the stream.
    const qint64 now = steadyNanoseconds();
    if (!streaming_) {
        ringSystemBell();
        return;
    }
    QMetaObject::invokeMethod(
        stream_, [stream = stream_, now] { stream->add(now); }, Qt::QueuedConnection);
}

} // namespace tipora::ui
