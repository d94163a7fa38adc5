#pragma once

#include <QChar>
#include <QString>
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

// Turns the key presses of a Czech keyboard into typed text the way the keyboard itself does,
// so that typing behaves the same whatever input method the desktop runs: a dead key waits
// for the next key; a letter it goes with comes out accented, a blank gives the accent alone,
// anything else gives the accent followed by that character.
class DeadKeyComposer {
public:
    // A dead key was pressed; it types nothing yet (pressed twice, it types its accent once).
    QString deadKey(DeadKey dead);
    // A key that types text was pressed; returns what reaches the lesson.
    QString text(const QString& typed);
    bool pending() const { return pending_.has_value(); }

private:
    std::optional<DeadKey> pending_;
};

} // namespace tipora
