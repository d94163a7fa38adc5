#pragma once

#include "app/results_recording.h"

#include <cstdint>

namespace tipora {

// The learner's figures, adding up over lessons until the learner clears them.
class PracticeStatistics {
public:
    int errors() const { return errors_; }                                    // Chyby
    int lines() const { return lines_; }                                      // Radky
    float errorsPerLine() const { return errorsPerLine_; }                    // ChybyNaRadek
    int keystrokes() const { return keystrokes_; }                            // Uhozy
    std::int16_t keystrokesPerMinute() const { return keystrokesPerMinute_; } // UhozyVMin
    int seconds() const { return seconds_; }                                  // TimeP
    PracticeCounters counters() const { return {keystrokes_, errors_, lines_, seconds_}; }

    void countKeystroke();
    void countError() { ++errors_; }
    // A closed line: its Enter is a keystroke too.
    void countLine();
    void tick() { ++seconds_; }
    void clear() { *this = PracticeStatistics{}; }

private:
    int errors_ = 0;
    int lines_ = 0;
    float errorsPerLine_ = 0.0F;
    int keystrokes_ = 0;
    std::int16_t keystrokesPerMinute_ = 0;
    int seconds_ = 0;
};

} // namespace tipora
