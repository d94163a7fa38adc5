#pragma once

#include <QChar>
#include <optional>

namespace tipora {

// The two dead keys of the Czech keyboard: ´ (the key right of "=") and ˇ (the same key with
// Shift). A dead key types nothing by itself; the next letter comes out with its accent.
enum class DeadKey { Acute, Caron };

inline constexpr QChar kAcute{0x00B4}; // ´
inline constexpr QChar kCaron{0x02C7}; // ˇ

// The letter a dead key makes of a base letter, if the two compose (´ + a = á, ˇ + n = ň).
std::optional<QChar> composeDeadKey(DeadKey dead, QChar base);

// The dead key and base letter that compose into a character, if any (ó = ´ + o).
struct Decomposition {
    DeadKey dead;
    QChar base;
};
std::optional<Decomposition> decomposeDeadKey(QChar composed);

} // namespace tipora
