#pragma once

#include "app/shared_value.h"

namespace tipora {

// The metronome's beat in milliseconds for a tempo in keystrokes per minute.
int metronomeInterval(const SharedValue& tempo);

} // namespace tipora
