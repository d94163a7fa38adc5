#include "lessons/typing_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tipora {

std::int16_t keystrokesPerMinute(int keystrokes, int seconds) {
    const double perMinute = static_cast<double>(keystrokes) * (60.0 / seconds);
    // nearbyint rounds halves to even under the default rounding mode.
    const double rounded = std::nearbyint(perMinute);
    constexpr double low = std::numeric_limits<std::int16_t>::min();
    constexpr double high = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(rounded, low, high));
}

float errorsPerLine(int errors, int lines) {
    const float quotient = static_cast<float>(errors) / static_cast<float>(lines);
    const double tenths = std::round(static_cast<double>(quotient) * 10.0);
    return static_cast<float>(tenths / 10.0);
}

} // namespace tipora
