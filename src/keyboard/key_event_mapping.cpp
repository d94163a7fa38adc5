#include "keyboard/key_event_mapping.h"

#include "ground/key_table.h"
#include "ground/utf8.h"
#include "keyboard/shift_captions.h"

#include <QString>
#include <array>
#include <utility>

namespace tipora {

namespace {

// X keycodes (evdev + 8) of the number row and the punctuation keys of a PC keyboard.
constexpr std::array<std::pair<quint32, int>, 20> kX11Places{{
    {49, 192}, {10, 49},  {11, 50},  {12, 51},  {13, 52},  {14, 53},  {15, 54},
    {16, 55},  {17, 56},  {18, 57},  {19, 48},  {20, 189}, {21, 187}, {34, 219},
    {35, 221}, {47, 186}, {48, 222}, {59, 188}, {60, 190}, {61, 191},
}};

int fromQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key; // Qt's letter keys carry the letters' codes
    }
    switch (key) {
    case Qt::Key_Backspace:
        return kKeyBackspace;
    case Qt::Key_Tab:
        return kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kKeyEnter;
    case Qt::Key_Shift:
        return kKeyShift;
    case Qt::Key_Control:
        return kKeyControl;
    case Qt::Key_Alt:
        return kKeyAlt;
    case Qt::Key_Pause:
        return kKeyPause;
    case Qt::Key_CapsLock:
        return kKeyCapsLock;
    case Qt::Key_Escape:
        return kKeyEscape;
    case Qt::Key_Space:
        return kKeySpace;
    default:
        return 0;
    }
}

// Without native codes, the character the Czech layout puts on a key names the key: Qt
// reports the upper-case character for the plain key and the shifted sign with Shift.
int fromCzechCharacter(int key) {
    if (key == Qt::Key_Dead_Acute || key == Qt::Key_Dead_Caron) {
        return 187;
    }
    for (const ShiftCaption& caption : kShiftCaptions) {
        const QString plain = fromUtf8(caption.plain);
        const QString shifted = fromUtf8(caption.shifted);
        if ((plain.size() == 1 && plain.front().toUpper().unicode() == key) ||
            (shifted.size() == 1 && shifted.front().unicode() == key) ||
            (caption.code == 186 && key == Qt::Key_QuoteDbl)) {
            return caption.code;
        }
    }
    return 0;
}

} // namespace

KeySource keySourceForPlatform(QStringView platformName) {
    // Wayland's compositors hand the client the evdev code, and Qt reports it plus 8 as under
    // X: the same XKB keycode. The plugin comes as "wayland", "wayland-egl" and so on.
    if (platformName == u"xcb" || platformName == u"wayland" ||
        platformName.startsWith(u"wayland-")) {
        return KeySource::X11;
    }
    return KeySource::Generic;
}

int keyCodeForEvent(const KeyEventFacts& event, KeySource source) {
    switch (source) {
    case KeySource::Windows:
        return static_cast<int>(event.nativeVirtualKey);
    case KeySource::X11:
        for (const auto& [scanCode, code] : kX11Places) {
            if (event.nativeScanCode == scanCode) {
                return code;
            }
        }
        return fromQtKey(event.qtKey);
    case KeySource::Generic:
        if (const int code = fromQtKey(event.qtKey); code != 0) {
            return code;
        }
        return fromCzechCharacter(event.qtKey);
    }
    return 0;
}

} // namespace tipora
