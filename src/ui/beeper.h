#pragma once

#include "app/platform.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <deque>
#include <vector>

namespace tipora::ui {

// One click as 16-bit mono samples: a short sine tone that fades in and out, so that it starts
// and ends at silence and does not pop. Empty for a sample rate outside 1..384000 Hz, a tone
// shorter than one sample or longer than 10000 ms, or a frequency that is not below half the
// sample rate.
std::vector<qint16> makeClickSamples(int sampleRate, int milliseconds, double frequency);

// The clicks still to be heard, by the stream frame each starts at, and the samples they make.
class ClickTrack {
public:
    // minimumSpacing keeps two beeps asked at once (a wrong key with both beeps on) apart, so
    // that they are heard as two; a beep that would have to wait longer than maximumDelay for
    // its turn is dropped instead of making every later one late.
    ClickTrack(std::vector<qint16> click, qint64 minimumSpacing, qint64 maximumDelay);

    // Places a click at frame `wanted`, or at `firstFree` when the stream has already been
    // written up to there. Returns the frame it starts at, or -1 when dropped.
    qint64 add(qint64 wanted, qint64 firstFree);

    // Fills out[0..frames) with the track from frame `from` on: the clicks on silence. Frames
    // must be asked for in order; clicks that ended before `from` are forgotten.
    void render(qint64 from, qint16* out, qsizetype frames);

    std::size_t pending() const { return starts_.size(); }

private:
    std::vector<qint16> click_;
    qint64 minimumSpacing_;
    qint64 maximumDelay_;
    std::deque<qint64> starts_;
    qint64 lastStart_ = -1;
};

// Which stream frame the writer will have reached at a given moment, on average. Frames are
// written as the sound card takes them, at the card's pace and in steps; a straight line
// through what was seen smooths the steps, so beeps asked at an even pace land evenly in the
// stream even though the writer runs at uneven moments, and it follows a card whose clock runs
// a little fast or slow. A stall (an underrun, a suspended stream) moves the line at once.
class StreamClock {
public:
    explicit StreamClock(int sampleRate) : sampleRate_(sampleRate) {}

    // The writer has written up to frame `frontier` at this moment.
    void observe(qint64 nanoseconds, qint64 frontier);
    // -1 before anything was observed.
    qint64 frameAt(qint64 nanoseconds) const;

private:
    int sampleRate_;
    bool started_ = false;
    qint64 anchorTime_ = 0;
    double anchorFrame_ = 0.0;
    qint64 observations_ = 0;
};

// Where the metronome's beats fall in a stream that starts at a given moment: beat k (from 1)
// comes k intervals after the metronome was switched on, to the sample, whatever the moments the
// stream is written at.
class BeatGrid {
public:
    // switchedOn and streamStart in nanoseconds of the same clock; streamStart is the moment
    // frame 0 of the stream is written.
    BeatGrid(int sampleRate, int intervalMilliseconds, qint64 switchedOn, qint64 streamStart);

    // The frame beat k starts at (negative when it fell before the stream started).
    qint64 frameOf(qint64 beat) const;

private:
    qint64 sampleRate_;
    qint64 interval_;
    qint64 offset_; // frames from the stream's frame 0 to the switch-on (usually negative)
};

class SoundHost;

// The steady clock beeps are timed by, in nanoseconds.
qint64 steadyNanoseconds();

// The key-press, error, demonstration and metronome beep. The system bell is silent on many
// Linux desktops, so the click is played through the sound card.
// Beeps go to one stream, opened when beeps are first planned (a lesson starts with a beep
// switched on), before the first key can come, and fed with silence while beeps may come, so each
// click is placed to the sample and nothing has to load or start when a beep is asked; between
// lessons it is paused, so an idle tutor costs the machine nothing. The metronome's beats are known
// in advance, so they go to a stream of their own that holds a long stretch of them: a machine that
// stops the program for a moment does not make a beat late. Switching the metronome off drops what
// that stream holds. Both streams are fed from a thread of their own, so a window busy drawing does
// not starve them. The bell is only the fallback for when there is no output device or a stream
// fails.
class Beeper : public QObject {
    Q_OBJECT

public:
    explicit Beeper(QObject* parent = nullptr);
    ~Beeper() override;

    // Never waits for the sound system.
    void beep();
    // A tick of the metronome's timer: a beep only when no stream keeps the beat.
    void beatTick();
    // What may sound soon; cheap when nothing changed, so it may be told after every event.
    void plan(const SoundPlan& plan);

    // Whether beeps currently go to the sound card rather than the bell.
    bool isStreaming() const { return streaming_.load(); }
    // Whether the metronome's beat is played by a stream of its own, so that its timer's ticks
    // need not beep.
    bool keepsBeat() const { return keepingBeat_.load(); }

private:
    void openStream();

    QThread thread_;
    std::FILE* log_ = nullptr;
    SoundHost* host_ = nullptr; // lives in thread_, which deletes it when it ends
    std::atomic<bool> streaming_{false};
    std::atomic<bool> keepingBeat_{false};
    std::atomic<bool> opening_{false};
    bool opened_ = false;
    SoundPlan plan_;
};

} // namespace tipora::ui
