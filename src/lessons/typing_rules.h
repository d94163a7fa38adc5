#pragma once

#include <cstdint>

namespace tipora {

// Keystrokes per minute: keystrokes × (60 / seconds), a half rounding to the even neighbour,
// held within the 16-bit range the counter has. Needs seconds > 0.
std::int16_t keystrokesPerMinute(int keystrokes, int seconds);

// Errors per finished line, rounded to one decimal with halves going up (1 in 4 is 0.3).
float errorsPerLine(int errors, int lines);

} // namespace tipora
