#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

namespace tipora::sound {

// Where clicks start in a recording of 16-bit mono samples. A click starts at the first sample
// whose magnitude reaches `threshold` after at least `quietMilliseconds` in which none did, so
// a click's own waveform (many crossings a millisecond) counts once, while two clicks are told
// apart as soon as a short silence lies between them.
struct OnsetOptions {
    int threshold = 1500; // of 32767: well above any hiss, well below the click's peak
    double quietMilliseconds = 5.0;
};

std::vector<qint64> findOnsets(std::span<const qint16> samples, int sampleRate,
                               const OnsetOptions& options = {});

// How evenly a run of onsets keeps a beat of `periodMilliseconds`.
struct BeatStats {
    std::size_t count = 0;
    double meanInterval = 0.0; // ms, first to last onset over the beats between
    double meanError = 0.0;    // ms, meanInterval minus the period
    double longestInterval = 0.0;
    double shortestInterval = 0.0;
    double p99IntervalError = 0.0; // ms, |interval - period| that 99 % of intervals stay within
    double p99GridError = 0.0;     // ms, |onset - fitted even grid| that 99 % stay within
};

BeatStats beatStats(const std::vector<qint64>& onsets, int sampleRate, double periodMilliseconds);

// The value that the given share (0..1) of the values do not exceed.
double percentile(std::vector<double> values, double share);

} // namespace tipora::sound
