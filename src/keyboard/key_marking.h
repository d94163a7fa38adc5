#pragma once

#include "app/form_model.h"

#include <map>
#include <string_view>
#include <vector>

namespace tipora {

// The key labels by code, as the main window holds them.
using KeyLabels = std::map<int, Control>;

// Every label from code 16 to 1016 white (Enter, below the range, keeps its colour).
void whitenKeyboard(KeyLabels& keys);
// As whitening, and every such label's text black again: the keyboard after a lesson ends.
void clearKeyboard(KeyLabels& keys);

// The green set of marking stage 1 … 9 (OznaceniKlaves01 … OznaceniKlaves09), on a whitened
// keyboard.
void OznaceniKlaves(int stage, KeyLabels& keys);

// The whole marking at the start of lesson 1 … 50: its base, then its further green keys, then
// the keys it introduces in red.
void markLesson(int lesson, KeyLabels& keys);

// The codes of key names as the marking tables use them: a key's caption, or LShift, RShift,
// CapsLock. Unknown names have no code and are passed over.
std::vector<int> keyCodes(std::string_view names);

} // namespace tipora
