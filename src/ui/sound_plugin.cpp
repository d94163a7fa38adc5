// The sound module: the streams that play the beeps and the metronome's beats through the
// sound card, with Qt Multimedia and the sound system's libraries, which the tutor reads from
// the disk only when a lesson first asks for a beep or a beat.
#include "ui/beeper.h"
#include "ui/sound_module.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QObject>
#include <QTimer>
#include <QtPlugin>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace tipora::ui {

namespace {

// Short enough that beeps 60 ms apart at the fastest metronome tempo stay separate, long enough
// to be a tone rather than a tick; the pitch sits where the ear is sensitive without being shrill.
constexpr int clickMilliseconds = 35;
constexpr double clickFrequency = 1200.0;

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
// The beats' stream is written this far ahead of what the card has played: a program stopped
// for a moment (a busy or paused virtual machine was seen to stop it for over 100 ms) is
// topped up again before the card runs dry. Holding beats ahead costs no delay, as they are
// known in advance. The server is asked for a short buffer all the same: what lies beyond it
// waits in the stream's queue, which switching the metronome off drops, while what the server
// has already handed to the card plays out, and would tick on after the switch-off.
constexpr int beatAheadMilliseconds = 500;
constexpr int beatBufferMilliseconds = 80;
constexpr int beatFeedMilliseconds = 50;
// The beeps' stream is paused this long after beeps stopped being wanted: long enough for the
// last click to have played out of the server's buffer.
constexpr int pauseAfterMilliseconds = 500;
// How far beyond the written samples a click is placed: the writer runs up to a sound card
// period (10 ms on PulseAudio here) ahead of its average, and a click placed where samples are
// already written would be late.
constexpr int leadMilliseconds = 12;

qint64 framesIn(int milliseconds, int sampleRate) {
    return qint64(sampleRate) * milliseconds / 1000;
}

// Mono 16-bit at the device's own rate, which spares the server resampling the click, else at
// 44.1 kHz; nothing when the device takes neither.
std::optional<QAudioFormat> clickFormat(const QAudioDevice& device) {
    if (device.isNull())
        return std::nullopt;
    QAudioFormat format;
    const int preferredRate = device.preferredFormat().sampleRate();
    format.setSampleRate(preferredRate > 0 ? preferredRate : 44100);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        format.setSampleRate(44100);
        if (!device.isFormatSupported(format))
            return std::nullopt;
    }
    return format;
}

std::vector<qint16> clickFor(const QAudioFormat& format) {
    return makeClickSamples(format.sampleRate(), clickMilliseconds, clickFrequency);
}

bool streamFailed(QAudio::Error error) {
    switch (error) {
    case QAudio::NoError:
    case QAudio::UnderrunError:
        return false;
    case QAudio::OpenError:
    case QAudio::IOError:
    case QAudio::FatalError:
        break;
    }
    return true;
}

// The sound card's side of the beeper: the stream, what goes into it and when. Lives in the
// beeper's thread; every member is used there only.
class ClickStream : public QObject {
public:
    ClickStream(std::atomic<bool>& streaming, const std::atomic<bool>& keepingBeat, std::FILE* log)
        : streaming_(streaming), keepingBeat_(keepingBeat), log_(log) {
        feedTimer_.setTimerType(Qt::PreciseTimer);
        feedTimer_.setInterval(feedMilliseconds);
        connect(&feedTimer_, &QTimer::timeout, this, &ClickStream::feed);
        pauseTimer_.setSingleShot(true);
        pauseTimer_.setInterval(pauseAfterMilliseconds);
        connect(&pauseTimer_, &QTimer::timeout, this, &ClickStream::pauseIfIdle);
    }

    ~ClickStream() override { close(); }

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
    // Whether beeps may come soon, and whether the metronome runs (its ticks come here when its
    // own stream could not start).
    void setPlan(bool beeps, bool beat);

private:
    bool needed() const { return wantBeeps_ || (wantBeat_ && !keepingBeat_.load()); }
    void pauseIfIdle();
    void resumeSink();
    void open(const QAudioDevice& device);
    bool startSink();
    void growBuffer();
    void feed();
    void onStateChanged();
    void onOutputsChanged();

    std::atomic<bool>& streaming_;
    const std::atomic<bool>& keepingBeat_;
    // Set by TIPORA_BEEP_LOG, for timing measurements: when each beep was asked and where in
    // the stream it went, and how the writer advanced.
    std::FILE* log_;
    std::unique_ptr<QMediaDevices> devices_;
    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* output_ = nullptr; // owned by sink_
    QTimer feedTimer_{this};
    QTimer pauseTimer_{this};
    bool wantBeeps_ = false;
    bool wantBeat_ = false;
    bool paused_ = false;
    bool resuming_ = false;
    std::unique_ptr<ClickTrack> track_;
    std::unique_ptr<StreamClock> clock_;
    qint64 written_ = 0;
    qint64 lead_ = 0;
    int bufferMilliseconds_ = initialBufferMilliseconds;
    bool growing_ = false;
    std::vector<qint16> chunk_;
};

void ClickStream::add(qint64 nanoseconds) {
    qint64 wanted = -1;
    qint64 placed = -1;
    // A beep nobody planned for (a metronome tick whose own stream failed, say) still sounds,
    // only somewhat later than a planned one.
    resumeSink();
    if (!needed())
        pauseTimer_.start();
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
    const std::optional<QAudioFormat> format = clickFormat(device);
    if (!format)
        return;
    const int rate = format->sampleRate();
    std::vector<qint16> click = clickFor(*format);
    if (click.empty())
        return;

    device_ = device;
    format_ = *format;
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
    if (!needed())
        pauseTimer_.start();
}

void ClickStream::setPlan(bool beeps, bool beat) {
    wantBeeps_ = beeps;
    wantBeat_ = beat;
    if (needed()) {
        pauseTimer_.stop();
        resumeSink();
    } else if (!paused_) {
        pauseTimer_.start();
    }
}

void ClickStream::pauseIfIdle() {
    if (!output_ || paused_ || needed())
        return;
    if (growing_) {
        pauseTimer_.start();
        return;
    }
    // Paused rather than closed: it comes back in one round trip to the sound server, with
    // nothing to load, so the first key of the next lesson clicks as promptly as any other.
    feedTimer_.stop();
    sink_->suspend();
    paused_ = true;
    if (log_) {
        std::fprintf(log_, "pause %lld\n", static_cast<long long>(steadyNanoseconds()));
        std::fflush(log_);
    }
}

void ClickStream::resumeSink() {
    if (!output_ || !paused_)
        return;
    resuming_ = true;
    sink_->resume();
    resuming_ = false;
    paused_ = false;
    // The written samples stood still meanwhile: the line through them starts over.
    clock_ = std::make_unique<StreamClock>(format_.sampleRate());
    if (log_)
        std::fprintf(log_, "resume %lld\n", static_cast<long long>(steadyNanoseconds()));
    feed();
    feedTimer_.start();
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
    pauseTimer_.stop();
    paused_ = false;
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
    // Coming back from a pause passes through the state it was paused in, which says nothing
    // about the stream now.
    if (!output_ || resuming_)
        return;
    if (log_) {
        std::fprintf(log_, "state %lld %d %d\n", static_cast<long long>(steadyNanoseconds()),
                     int(sink_->state()), int(sink_->error()));
    }
    if (!streamFailed(sink_->error())) {
        // Idle while being fed is an underrun. The sink is telling us from inside its own
        // call, so the new stream comes after.
        if (sink_->state() == QAudio::IdleState && !paused_ && !growing_ &&
            bufferMilliseconds_ < largestBufferMilliseconds) {
            growing_ = true;
            QTimer::singleShot(0, this, &ClickStream::growBuffer);
        }
        return;
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
    paused_ = false;
    pauseTimer_.stop();
}

void ClickStream::onOutputsChanged() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!output_ || device != device_)
        open(device);
}

// The metronome's side: a stream of its own per run of the beat, written well ahead, with each
// beat at its place counted from the switch-on. Lives in the beeper's thread.
class BeatStream : public QObject {
public:
    BeatStream(std::atomic<bool>& keeping, std::FILE* log) : keeping_(keeping), log_(log) {
        feedTimer_.setInterval(beatFeedMilliseconds);
        connect(&feedTimer_, &QTimer::timeout, this, &BeatStream::feed);
    }
    ~BeatStream() override { stop(); }

    void start(qint64 switchedOn, int intervalMilliseconds);
    void stop();

private:
    void feed();
    void fail();

    std::atomic<bool>& keeping_;
    std::FILE* log_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* output_ = nullptr; // owned by sink_
    QAudioFormat format_;
    QTimer feedTimer_{this};
    std::vector<qint16> click_;
    std::optional<BeatGrid> grid_;
    qint64 position_ = 0; // the frame the next write starts at
    qint64 nextBeat_ = 1; // the first beat not yet written whole
    std::vector<qint16> chunk_;
};

void BeatStream::start(qint64 switchedOn, int intervalMilliseconds) {
    stop();
    const std::optional<QAudioFormat> format = clickFormat(QMediaDevices::defaultAudioOutput());
    if (!format || intervalMilliseconds < 1) {
        keeping_ = false;
        return;
    }
    format_ = *format;
    click_ = clickFor(format_);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
    sink_->setBufferSize(qsizetype(format_.bytesForDuration(beatBufferMilliseconds * 1000)));
    output_ = sink_->start();
    if (click_.empty() || !output_ || streamFailed(sink_->error())) {
        fail();
        return;
    }
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this] {
        if (sink_ && streamFailed(sink_->error()))
            fail();
    });
    const qint64 now = steadyNanoseconds();
    grid_.emplace(format_.sampleRate(), intervalMilliseconds, switchedOn, now);
    position_ = 0;
    nextBeat_ = 1;
    if (log_) {
        std::fprintf(log_, "beats %lld %lld %d\n", static_cast<long long>(switchedOn),
                     static_cast<long long>(now), intervalMilliseconds);
    }
    feed();
    feedTimer_.start();
    keeping_ = true;
}

void BeatStream::stop() {
    feedTimer_.stop();
    output_ = nullptr;
    grid_.reset();
    if (sink_) {
        sink_->disconnect(this);
        // What the stream holds is dropped, so no beat sounds after the switch-off.
        sink_->reset();
        sink_.reset();
    }
}

void BeatStream::fail() {
    // The timer's ticks beep through the other stream or the bell from now on. The sink may be
    // in the middle of telling us, so it goes later.
    keeping_ = false;
    feedTimer_.stop();
    output_ = nullptr;
    grid_.reset();
    if (sink_) {
        sink_->disconnect(this);
        sink_.release()->deleteLater();
    }
}

void BeatStream::feed() {
    if (!output_)
        return;
    // Kept ahead of what the card has played by the card's own count, not by the clock on the
    // wall: a card running a little fast or slow would otherwise run the queue dry or fill it
    // without end over a long practice.
    const qint64 rate = format_.sampleRate();
    const qint64 played =
        std::clamp(sink_->processedUSecs() * rate / 1'000'000, qint64(0), position_);
    if (position_ > 0 && played == position_ && log_) {
        std::fprintf(log_, "beatgap %lld %lld\n", static_cast<long long>(steadyNanoseconds()),
                     static_cast<long long>(position_));
    }
    const qint64 frames = played + rate * beatAheadMilliseconds / 1000 - position_;
    if (frames <= 0)
        return;
    chunk_.assign(std::size_t(frames), 0);
    const auto length = qint64(click_.size());
    const qint64 to = position_ + frames;
    while (grid_->frameOf(nextBeat_) + length <= position_)
        ++nextBeat_;
    for (qint64 beat = nextBeat_; grid_->frameOf(beat) < to; ++beat) {
        const qint64 start = grid_->frameOf(beat);
        for (qint64 frame = std::max(start, position_); frame < std::min(start + length, to);
             ++frame)
            chunk_[std::size_t(frame - position_)] = click_[std::size_t(frame - start)];
    }
    const int bytesPerFrame = format_.bytesPerFrame();
    const qint64 bytes =
        output_->write(reinterpret_cast<const char*>(chunk_.data()), frames * bytesPerFrame);
    if (bytes > 0)
        position_ += bytes / bytesPerFrame;
}

class Card final : public SoundCard {
public:
    Card(std::atomic<bool>& streaming, std::atomic<bool>& keepingBeat, std::FILE* log)
        : beeps_(streaming, keepingBeat, log), beats_(keepingBeat, log) {}

    void openBeeps() override { beeps_.start(); }
    void addBeep(qint64 nanoseconds) override { beeps_.add(nanoseconds); }
    void planBeeps(bool beeps, bool beat) override { beeps_.setPlan(beeps, beat); }
    void startBeat(qint64 switchedOn, int intervalMilliseconds) override {
        beats_.start(switchedOn, intervalMilliseconds);
    }
    void stopBeat() override { beats_.stop(); }
    void close() override {
        beats_.stop();
        beeps_.close();
    }

private:
    ClickStream beeps_;
    BeatStream beats_;
};

class SoundPlugin final : public QObject, public SoundModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TIPORA_SOUND_MODULE_IID)
    Q_INTERFACES(tipora::ui::SoundModule)

public:
    std::unique_ptr<SoundCard> open(std::atomic<bool>& streaming, std::atomic<bool>& keepingBeat,
                                    std::FILE* log) override {
        return std::make_unique<Card>(streaming, keepingBeat, log);
    }
};

} // namespace

} // namespace tipora::ui

#include "sound_plugin.moc"
