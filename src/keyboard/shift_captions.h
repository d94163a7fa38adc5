#pragma once

#include <array>
#include <string_view>

namespace tipora {

// The keys whose caption shows what they type with Shift while Shift is held, in the order
// they are walked. Letters change case instead.
struct ShiftCaption {
    int code;
    std::string_view plain;   // UTF-8, the design caption
    std::string_view shifted; // UTF-8
};

inline constexpr std::array<ShiftCaption, 20> kShiftCaptions{{
    {192, ";", "°"},  {49, "+", "1"},  {50, "ě", "2"},  {51, "š", "3"},  {52, "č", "4"},
    {53, "ř", "5"},   {54, "ž", "6"},  {55, "ý", "7"},  {56, "á", "8"},  {57, "í", "9"},
    {48, "é", "0"},   {189, "=", "%"}, {187, "´", "ˇ"}, {219, "ú", "/"}, {221, ")", "("},
    {186, "ů", "''"}, {222, "§", "!"}, {188, ",", "?"}, {190, ".", ":"}, {191, "-", "_"},
}};

} // namespace tipora
