#include "keyboard/character_strokes.h"

#include "ground/key_table.h"
#include "keyboard/demo_keys.h"

namespace tipora {

CharacterStroke characterStroke(QChar character) {
    if (character == QLatin1Char('\n') || character == QLatin1Char('\r')) {
        return {kKeyEnter, false, std::nullopt, true};
    }
    if (const KeyForCharacter key = keyForCharacter(character); key.found) {
        return {key.code, key.shifted, std::nullopt, true};
    }
    // The demonstration's table names no shifted sign for ů; it is the quotation mark.
    if (character == QLatin1Char('"')) {
        return {kKeyRingU, true, std::nullopt, true};
    }
    // The apostrophe is Shift and the key left of Backspace, which the on-screen keyboard does
    // not show: typeable, with no label to count it on.
    if (character == QLatin1Char('\'')) {
        return {0, true, std::nullopt, true};
    }
    if (const std::optional<Decomposition> parts = decomposeDeadKey(character)) {
        const KeyForCharacter base = keyForCharacter(parts->base);
        return {base.code, base.shifted, parts->dead, base.found};
    }
    return {};
}

} // namespace tipora
