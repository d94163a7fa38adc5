#pragma once

#include "app/form_model.h"

#include <QString>
#include <optional>

namespace tipora {

// The rule of the numeric boxes (the demonstration speed and the metronome tempo), judged on
// every key released in the box, on the text that key has produced: Enter or a digit with the
// number in range is accepted and returned; anything else empties the box silently and the
// last accepted value stays.
std::optional<int> acceptNumericBoxKey(Control& box, int keyCode, int minimum, int maximum);

// Moves a scroll bar within its range; true when its value changed (its handler is then due).
bool moveScrollBar(Control& bar, int value);

// The number at the start of a text, as the boxes read it: leading blanks skipped, reading
// stops at the first character that cannot continue the number; empty is 0.
double leadingNumber(const QString& text);

// Enter, a digit of the main block or of the numeric keypad.
bool isNumericBoxKey(int keyCode);

// Shift, Ctrl, Alt and Caps Lock type nothing by themselves. On the Czech keyboard the digits
// of the main block need Shift, so a box that judged the release of Shift would throw away
// every number just typed; their releases are not judged.
bool isModifierKey(int keyCode);

} // namespace tipora
