#pragma once

#include <QChar>
#include <array>
#include <string_view>

namespace tipora {

// The key that types a character on the Czech keyboard, as the demonstration lights it.
struct CharacterKey {
    std::string_view plain;   // UTF-8: the character the key types without Shift
    std::string_view shifted; // UTF-8: the character it types with Shift, if the table names one
    int code;
};

// Letters A to Z are found by their code; the rest is looked up here, top to bottom.
inline constexpr std::array<CharacterKey, 20> kCharacterKeys{{
    {" ", "", 32},  {";", "°", 192}, {"+", "1", 49},  {"ě", "2", 50},  {"š", "3", 51},
    {"č", "4", 52}, {"ř", "5", 53},  {"ž", "6", 54},  {"ý", "7", 55},  {"á", "8", 56},
    {"í", "9", 57}, {"é", "0", 48},  {"=", "%", 189}, {"ú", "/", 219}, {")", "(", 221},
    {"ů", "", 186}, {"§", "!", 222}, {",", "?", 188}, {".", ":", 190}, {"-", "_", 191},
}};

struct KeyForCharacter {
    int code;
    bool shifted; // the table's shifted character, or a capital letter
    bool found;   // false: not on any key of its own (capitals with diacritics, letters made
                  // with a dead key, other signs); the code is then the left Shift
};

KeyForCharacter keyForCharacter(QChar character);

// The demonstration's key table: the key code to light for a character.
inline int demoKeyCode(QChar character) {
    return keyForCharacter(character).code;
}

} // namespace tipora
