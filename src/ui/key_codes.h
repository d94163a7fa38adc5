#pragma once

#include "keyboard/key_event_mapping.h"

class QKeyEvent;

namespace tipora::ui {

// Which fields of a key event name the key on the platform the program runs on.
KeySource platformKeySource();

// The key code of a Qt key event (0 for a key without one). Digits of the numeric keypad get
// their own codes (96 to 105), as the numeric boxes tell them apart.
int keyCodeOf(const QKeyEvent& event, KeySource source = platformKeySource());

} // namespace tipora::ui
