#include "demo/demonstration.h"

namespace tipora {

void Demonstration::start(int speed) {
    speed_ = speed;
    keystrokes_ = 0;
    lines_ = 0;
    seconds_ = 0;
}

int Demonstration::stepMilliseconds() const {
    constexpr int kMinute = 60000;
    return kMinute / speed_;
}

} // namespace tipora
