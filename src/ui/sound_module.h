#pragma once

#include <QtGlobal>
#include <QtPlugin>
#include <atomic>
#include <cstdio>
#include <memory>

namespace tipora::ui {

// What the sound module plays. Used on the beeper's thread only.
class SoundCard {
public:
    virtual ~SoundCard() = default;

    // Opens the beeps' stream on the default output; `streaming` tells whether it plays.
    virtual void openBeeps() = 0;
    // A beep asked for at this moment (steady clock, nanoseconds).
    virtual void addBeep(qint64 nanoseconds) = 0;
    // Whether beeps may come soon, and whether the metronome runs.
    virtual void planBeeps(bool beeps, bool beat) = 0;
    // The metronome's beat from the switch-on; `keepingBeat` turns false if it cannot play.
    virtual void startBeat(qint64 switchedOn, int intervalMilliseconds) = 0;
    virtual void stopBeat() = 0;
    virtual void close() = 0;
};

// The module brings Qt Multimedia and the sound system's libraries with it.
class SoundModule {
public:
    virtual ~SoundModule() = default;
    // `log`, when not null, receives the timing lines TIPORA_BEEP_LOG asks for.
    virtual std::unique_ptr<SoundCard> open(std::atomic<bool>& streaming,
                                            std::atomic<bool>& keepingBeat, std::FILE* log) = 0;
};

} // namespace tipora::ui

#define TIPORA_SOUND_MODULE_IID "cz.tipora.Tipora.SoundModule/1"
Q_DECLARE_INTERFACE(tipora::ui::SoundModule, TIPORA_SOUND_MODULE_IID)
