#include "ui/beeper.h"

#include <QApplication>
#include <QDir>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tipora::ui {

namespace {

// Short enough that beeps 60 ms apart at the fastest metronome tempo stay separate, long enough
// to be a tone rather than a tick; the pitch sits where the ear is sensitive without being shrill.
constexpr int clickSampleRate = 44100;
constexpr int clickMilliseconds = 35;
constexpr double clickFrequency = 1200.0;

// A sound effect closes its audio stream as soon as it has handed over its last sample, and on
// PulseAudio that throws away whatever the server still holds unplayed, which can be 150 ms.
// A bare 35 ms click was cut short or lost every time; with silence behind it, only silence
// is thrown away.
constexpr int clickSilenceMilliseconds = 300;

// About -10 dBFS: clearly audible next to typing noise, but not startling on headphones
// when the system volume is up.
constexpr double peakAmplitude = 0.3;

constexpr int wavHeaderSize = 44;

void appendLe16(QByteArray& bytes, quint16 value) {
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

void appendLe32(QByteArray& bytes, quint32 value) {
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

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

QByteArray makeClickWav(int sampleRate, int milliseconds, double frequency,
                        int silenceMilliseconds) {
    if (sampleRate < 1 || sampleRate > 384000 || milliseconds < 1 || milliseconds > 10000 ||
        silenceMilliseconds < 0 || silenceMilliseconds > 10000)
        return {};
    // Written so that NaN fails too.
    if (!(frequency > 0.0 && frequency < sampleRate / 2.0))
        return {};

    const qint64 toneSamples = qint64(sampleRate) * milliseconds / 1000;
    if (toneSamples < 1)
        return {};
    const qint64 samples = toneSamples + qint64(sampleRate) * silenceMilliseconds / 1000;
    const auto dataSize = quint32(samples * 2);

    QByteArray wav;
    wav.reserve(wavHeaderSize + qsizetype(dataSize));
    wav.append("RIFF", 4);
    appendLe32(wav, wavHeaderSize - 8 + dataSize);
    wav.append("WAVE", 4);
    wav.append("fmt ", 4);
    appendLe32(wav, 16);                      // size of this chunk
    appendLe16(wav, 1);                       // integer PCM
    appendLe16(wav, 1);                       // mono
    appendLe32(wav, quint32(sampleRate));     // frames per second
    appendLe32(wav, quint32(sampleRate) * 2); // bytes per second
    appendLe16(wav, 2);                       // bytes per frame
    appendLe16(wav, 16);                      // bits per sample
    wav.append("data", 4);
    appendLe32(wav, dataSize);
    // Zero-filled, which is also the trailing silence.
    wav.resize(wavHeaderSize + qsizetype(dataSize), '\0');

    // A few milliseconds of attack is below what the ear hears as a slow start but removes the
    // pop of a waveform switched on mid-swing; the longer release makes the tone die away
    // rather than stop.
    const double attack =
        double(std::max<qint64>(1, std::min<qint64>(toneSamples / 4, sampleRate * 3 / 1000)));
    const double release =
        double(std::max<qint64>(1, std::min<qint64>(toneSamples / 2, sampleRate * 15 / 1000)));
    const double step = 2.0 * std::numbers::pi * frequency / sampleRate;
    char* out = wav.data() + wavHeaderSize;
    for (qint64 i = 0; i < toneSamples; ++i, out += 2) {
        const double envelope =
            smoothStep(double(i) / attack) * smoothStep(double(toneSamples - 1 - i) / release);
        const double value = peakAmplitude * envelope * std::sin(step * double(i));
        qToLittleEndian(qint16(std::lround(value * 32767.0)), out);
    }
    return wav;
}

Beeper::Beeper(QObject* parent) : QObject(parent) {}

Beeper::~Beeper() = default;

void Beeper::beep() {
    if (unusable_) {
        ringSystemBell();
        return;
    }

    // Qt reports a sound effect as loaded, and even as playing, when there is no output device
    // at all, so only the device list tells whether the click could be heard. Asking on every
    // beep also lets headphones plugged in mid-lesson take over from the bell or the speakers.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        ringSystemBell();
        return;
    }
    if (!effects_.front() || device != device_) {
        if (!prepare(device)) {
            ringSystemBell();
            return;
        }
    }

    QSoundEffect* effect = nextReadyEffect();
    if (!effect) {
        // Still loading (the first beep always is): the bell now beats a click arriving late.
        ringSystemBell();
        return;
    }
    // Stopping an effect closes its stream, losing any of its click that is still buffered, and
    // a new stream needs a moment before it sounds, so one effect stopped and restarted at every
    // beep stays almost silent once beeps come faster than a few per second. Each effect here
    // instead plays out its 335 ms, and six taken in turn keep up with the metronome's 60 ms.
    // Only a faster burst reaches an effect still busy, and stopping it then only cuts the
    // silence behind its click.
    if (effect->isPlaying())
        effect->stop();
    effect->play();
}

bool Beeper::prepare(const QAudioDevice& device) {
    if (!wav_) {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                     QStringLiteral("/tipora-beep-XXXXXX.wav"));
        const QByteArray wav = makeClickWav(clickSampleRate, clickMilliseconds, clickFrequency,
                                            clickSilenceMilliseconds);
        if (!file->open() || file->write(wav) != wav.size() || !file->flush()) {
            // A full or read-only temporary folder will not get better during the session.
            unusable_ = true;
            return false;
        }
        file->close();
        wav_ = std::move(file);
    }

    // The device is named rather than left for each effect to find: in trials on a machine with
    // two outputs, effects left to themselves were not heard on the default one.
    const QUrl source = QUrl::fromLocalFile(wav_->fileName());
    for (auto& effect : effects_) {
        effect = std::make_unique<QSoundEffect>(device);
        effect->setSource(source);
    }
    device_ = device;
    next_ = 0;
    return true;
}

QSoundEffect* Beeper::nextReadyEffect() {
    // Prefer an idle effect; failing that, the one whose click started longest ago.
    QSoundEffect* busy = nullptr;
    for (std::size_t tried = 0; tried < effects_.size(); ++tried) {
        const std::size_t index = (next_ + tried) % effects_.size();
        QSoundEffect* effect = effects_[index].get();
        if (effect->status() != QSoundEffect::Ready)
            continue;
        if (!effect->isPlaying()) {
            next_ = (index + 1) % effects_.size();
            return effect;
        }
        if (!busy) {
            busy = effect;
            next_ = (index + 1) % effects_.size();
        }
    }
    return busy;
}

} // namespace tipora::ui
