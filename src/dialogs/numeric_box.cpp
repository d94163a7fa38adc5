#include "dialogs/numeric_box.h"

#include "ground/key_table.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tipora {

double leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?(\\d+(\\.\\d*)?|\\.\\d+))"));
    const auto match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

bool isNumericBoxKey(int keyCode) {
    return keyCode == kKeyEnter || (keyCode >= kKey0 && keyCode <= kKey9) ||
           (keyCode >= kKeyNumpad0 && keyCode <= kKeyNumpad9);
}

bool isModifierKey(int keyCode) {
    return keyCode == kKeyShift || keyCode == kKeyControl || keyCode == kKeyAlt ||
           keyCode == kKeyCapsLock;
}

std::optional<int> acceptNumericBoxKey(Control& box, int keyCode, int minimum, int maximum) {
    if (isModifierKey(keyCode)) {
        return std::nullopt;
    }
    const double v = leadingNumber(box.text);
    if (!isNumericBoxKey(keyCode) || v < minimum || v > maximum) {
        box.text.clear();
        return std::nullopt;
    }
    return static_cast<int>(std::nearbyint(v)); // halves to even
}

bool moveScrollBar(Control& bar, int value) {
    const int bounded = std::clamp(value, bar.minimum, bar.maximum);
    if (bounded == bar.value) {
        return false;
    }
    bar.value = bounded;
    return true;
}

} // namespace tipora
