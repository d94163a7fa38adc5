#pragma once

#include <QAudioDevice>
#include <QByteArray>
#include <QObject>
#include <array>
#include <cstddef>
#include <memory>

class QSoundEffect;
class QTemporaryFile;

namespace tipora::ui {

// A complete 16-bit mono PCM WAV file holding one short sine tone that fades in and out, so it
// starts and ends at silence and does not pop, followed by silenceMilliseconds of silence.
// Returns an empty array for a sample rate outside 1..384000 Hz, a tone shorter than one sample
// or longer than 10000 ms, silence outside 0..10000 ms, or a frequency that is not below half
// the sample rate.
QByteArray makeClickWav(int sampleRate, int milliseconds, double frequency,
                        int silenceMilliseconds = 0);

// The key-press, error, demonstration and metronome beep. The system bell is silent on many
// Linux desktops, so the click is played through the sound card, and the bell is only the
// fallback for when there is no sound card or the click is not loaded yet.
class Beeper : public QObject {
    Q_OBJECT

public:
    explicit Beeper(QObject* parent = nullptr);
    ~Beeper() override;

    // Never waits for the sound system: whatever cannot play at once falls back to the bell.
    void beep();

private:
    bool prepare(const QAudioDevice& device);
    QSoundEffect* nextReadyEffect();

    // Declared before the effects so that they are gone before their file is removed.
    std::unique_ptr<QTemporaryFile> wav_;
    // Several effects taken in turn, so that each beep starts on an effect that has finished
    // its previous click; see beep() for why one effect is not enough.
    std::array<std::unique_ptr<QSoundEffect>, 6> effects_;
    QAudioDevice device_;
    std::size_t next_ = 0;
    bool unusable_ = false;
};

} // namespace tipora::ui
