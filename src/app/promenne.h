#pragma once

#include "app/shared_value.h"

#include <cstdint>

namespace tipora {

// The metronome tempo in keystrokes per minute that the settings dialog accepts, and the one the
// bundled settings use.
inline constexpr int kMetronomeMinTempo = 1;
inline constexpr int kMetronomeMaxTempo = 1000;
inline constexpr int kMetronomeDefaultTempo = 100;

// The values every window shares: the keyboard type asked at start, the four settings of
// "tipora.ini" and the demonstration speed. Nothing else is shared between windows.
struct Promenne {
    SharedValue TypKlavesnice;       // keyboard type: 1 Czech, 2 Czech QWERTY
    SharedValue Metronom;            // metronome tempo, keystrokes per minute
    SharedValue OdezvaKlaves;        // 1: pressed keys light up on the on-screen keyboard
    SharedValue PipChyba;            // 1: beep on an error
    SharedValue PipKlavesa;          // 1: beep on every keystroke
    std::int16_t RychlostUkazky = 0; // demonstration speed, keystrokes per minute
};

} // namespace tipora
