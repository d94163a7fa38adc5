#pragma once

#include <QStringView>
#include <QtGlobal>

namespace tipora {

// Where a key event comes from decides which of its fields tells the key.
enum class KeySource {
    X11,     // nativeScanCode is the XKB keycode (X11 and Wayland): the key's place
    Windows, // nativeVirtualKey is already the Windows virtual-key code
    Generic, // no native codes (offscreen and the like): the Czech layout's characters decide
};

// The source for Qt's platform plugin by its name (QGuiApplication::platformName()) on a
// system other than Windows.
KeySource keySourceForPlatform(QStringView platformName);

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
