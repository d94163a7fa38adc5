#pragma once

#include <QtGlobal>

namespace tipora {

// Where a key event comes from decides which of its fields tells the key.
enum class KeySource {
    X11,     // nativeScanCode is the X keycode: the key's place on the keyboard
    Windows, // nativeVirtualKey is already the Windows virtual-key code
    Generic, // no native codes (Wayland, offscreen): the Czech layout's characters decide
};

struct KeyEventFacts {
    int qtKey;                  // QKeyEvent::key()
    quint32 nativeScanCode = 0; // QKeyEvent::nativeScanCode()
    quint32 nativeVirtualKey = 0;
};

// The key code of the on-screen keyboard (the Windows virtual-key code, both Shift keys 16)
// for a key event, or 0 for a key that has none. Letters follow the layout (so Y and Z follow
// a QWERTY layout by themselves); the number row and the punctuation keys go by their place,
// because what they type differs between layouts.
int keyCodeForEvent(const KeyEventFacts& event, KeySource source);

} // namespace tipora
