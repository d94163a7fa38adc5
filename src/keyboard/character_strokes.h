#pragma once

#include "keyboard/dead_keys.h"

#include <QChar>
#include <optional>

namespace tipora {

// How a character is made on the Czech keyboard: the key it is counted on (for a letter made
// with a dead key, the key of its letter), with the Shift and the dead key it takes.
struct CharacterStroke {
    int code = 0; // 0 for a key the on-screen keyboard does not show
    bool shift = false;
    std::optional<DeadKey> dead; // ˇ is the dead key's Shift position
    bool found = false;          // false: no key makes it; the rest is meaningless
};

// The line break is the Enter key.
CharacterStroke characterStroke(QChar character);

} // namespace tipora
