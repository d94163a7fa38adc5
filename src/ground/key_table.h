#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tipora {

// One label of the on-screen keyboard. Its code is the Windows virtual-key code of the key
// (1016 for the right Shift, which reports the same 16 as the left one) and also its index in
// the label array, so a key event finds its label with no table in between.
struct KeyDef {
    int code;
    std::string_view caption; // UTF-8, the unshifted character in lower case
    int left;
    int top;
    int width;
    int height;
};

// Key codes. Backspace, Tab, Enter and Esc also type the character of their own code, so the
// typing check compares typed characters with the same numbers.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyShift = 16; // both Shift keys report it; the right one's label is 1016
inline constexpr int kKeyControl = 17;
inline constexpr int kKeyAlt = 18;
inline constexpr int kKeyPause = 19;
inline constexpr int kKeyCapsLock = 20;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKey0 = 48; // the digits of the main block: 48 … 57
inline constexpr int kKey9 = 57;
inline constexpr int kKeyNumpad0 = 96; // the digits of the numeric keypad: 96 … 105
inline constexpr int kKeyNumpad9 = 105;
inline constexpr int kKeyY = 89;
inline constexpr int kKeyZ = 90;
inline constexpr int kKeyRightShift = 1016;
inline constexpr int kKeyCloseParen = 221; // lies over the upper left corner of Enter
inline constexpr int kKeyDeadAccent = 187; // ´, and ˇ with Shift
inline constexpr int kKeyRingU = 186;      // ů, and " with Shift

// QWERTY moves "y" up into the upper row and "z" down into the lower one.
inline constexpr int kQwertyYMoveRight = 2040;
inline constexpr int kQwertyYMoveDown = -960;

// The Czech QWERTZ keyboard, row by row from the left.
inline constexpr std::array<KeyDef, 51> kKeyTable{{
    {192, ";", 240, 3960, 495, 495},
    {49, "+", 720, 3960, 495, 495},
    {50, "ě", 1200, 3960, 495, 495},
    {51, "š", 1680, 3960, 495, 495},
    {52, "č", 2160, 3960, 495, 495},
    {53, "ř", 2640, 3960, 495, 495},
    {54, "ž", 3120, 3960, 495, 495},
    {55, "ý", 3600, 3960, 495, 495},
    {56, "á", 4080, 3960, 495, 495},
    {57, "í", 4560, 3960, 495, 495},
    {48, "é", 5040, 3960, 495, 495},
    {189, "=", 5520, 3960, 495, 495},
    {187, "´", 6000, 3960, 495, 495},
    {81, "q", 960, 4440, 495, 495},
    {87, "w", 1440, 4440, 495, 495},
    {69, "e", 1920, 4440, 495, 495},
    {82, "r", 2400, 4440, 495, 495},
    {84, "t", 2880, 4440, 495, 495},
    {90, "z", 3360, 4440, 495, 495},
    {85, "u", 3840, 4440, 495, 495},
    {73, "i", 4320, 4440, 495, 495},
    {79, "o", 4800, 4440, 495, 495},
    {80, "p", 5280, 4440, 495, 495},
    {219, "ú", 5760, 4440, 495, 495},
    {221, ")", 6240, 4440, 495, 495},
    // The blanks push "Enter" onto the second line, into the lower limb of the L-shaped key.
    {13, "                        Enter", 6360, 4440, 855, 975},
    {20, "Caps Lock", 240, 4920, 855, 495},
    {65, "a", 1080, 4920, 495, 495},
    {83, "s", 1560, 4920, 495, 495},
    {68, "d", 2040, 4920, 495, 495},
    {70, "f", 2520, 4920, 495, 495},
    {71, "g", 3000, 4920, 495, 495},
    {72, "h", 3480, 4920, 495, 495},
    {74, "j", 3960, 4920, 495, 495},
    {75, "k", 4440, 4920, 495, 495},
    {76, "l", 4920, 4920, 495, 495},
    {186, "ů", 5400, 4920, 495, 495},
    {222, "§", 5880, 4920, 495, 495},
    {16, "Shift", 240, 5400, 1095, 495},
    {89, "y", 1320, 5400, 495, 495},
    {88, "x", 1800, 5400, 495, 495},
    {67, "c", 2280, 5400, 495, 495},
    {86, "v", 2760, 5400, 495, 495},
    {66, "b", 3240, 5400, 495, 495},
    {78, "n", 3720, 5400, 495, 495},
    {77, "m", 4200, 5400, 495, 495},
    {188, ",", 4680, 5400, 495, 495},
    {190, ".", 5160, 5400, 495, 495},
    {191, "-", 5640, 5400, 495, 495},
    {1016, "Shift", 6120, 5400, 1095, 495},
    {32, "", 2160, 5880, 2775, 495},
}};

// The label of a key code, if the keyboard has one.
std::optional<KeyDef> findKey(int code);

} // namespace tipora
