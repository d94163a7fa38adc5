#pragma once

#include <cstdint>

namespace tipora {

// The demonstration's own figures, shown in place of the learner's while it types, and the
// flash of the key it presses.
class Demonstration {
public:
    // Starts at the speed in keystrokes per minute, figures at zero.
    void start(int speed);
    void countKey() { ++keystrokes_; }
    void countLine() { ++lines_; }
    void tick() { ++seconds_; }

    int speed() const { return speed_; }
    int keystrokes() const { return keystrokes_; }
    int lines() const { return lines_; }
    int seconds() const { return seconds_; }
    // One step of the demonstration, in milliseconds.
    int stepMilliseconds() const;

    // The pressed key flashes for a moment.
    void flash() {
        if (!flashing_) {
            flashing_ = true;
            ++flashes_;
        }
    }
    void flashOver() { flashing_ = false; }
    bool flashing() const { return flashing_; }
    std::uint64_t flashes() const { return flashes_; }

private:
    int speed_ = 1;
    int keystrokes_ = 0;
    int lines_ = 0;
    int seconds_ = 0;
    bool flashing_ = false;
    std::uint64_t flashes_ = 0;
};

} // namespace tipora
