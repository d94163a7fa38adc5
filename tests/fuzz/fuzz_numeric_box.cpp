// The numeric boxes (demonstration speed, metronome tempo) under any text and any key.
#include "demo/frm_demo.h"
#include "dialogs/numeric_box.h"
#include "fuzz/fuzz_support.h"
#include "support/fake_platform.h"

#include <array>

using namespace tipora;

namespace {

const std::array<QString, 16> kPieces{
    QStringLiteral("0"),      QStringLiteral("1"),
    QStringLiteral("5"),      QStringLiteral("9"),
    QStringLiteral("."),      QStringLiteral("-"),
    QStringLiteral("+"),      QStringLiteral(" "),
    QStringLiteral("e"),      QStringLiteral(","),
    QStringLiteral("\t"),     QStringLiteral("٣"),
    QStringLiteral("\u00A0"), QStringLiteral("999999999999"),
    QStringLiteral("0.5"),    QStringLiteral("x"),
};

int keyFrom(fuzz::Input& input) {
    const std::uint8_t b = input.byte();
    // Mostly keys the boxes care about: digits, keypad digits, Enter and the modifiers.
    constexpr std::array kKeys{13, 16, 17, 18, 20, 48, 53, 57, 96, 101, 105, 8, 46, 190};
    return b < 200 ? kKeys[b % kKeys.size()] : b;
}

// Plain digits, read as a person would.
std::optional<long long> digitsValue(const QString& text) {
    if (text.isEmpty() || text.size() > 12) {
        return std::nullopt;
    }
    long long value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

void checkRule(const QString& text, int key, int minimum, int maximum) {
    Control box;
    box.text = text;
    const std::optional<int> accepted = acceptNumericBoxKey(box, key, minimum, maximum);
    if (isModifierKey(key)) {
        FUZZ_CHECK(!accepted && box.text == text);
        return;
    }
    if (!accepted) {
        FUZZ_CHECK(box.text.isEmpty());
    } else {
        FUZZ_CHECK(isNumericBoxKey(key));
        FUZZ_CHECK(*accepted >= minimum && *accepted <= maximum);
        FUZZ_CHECK(box.text == text);
    }
    if (const auto value = digitsValue(text); value && isNumericBoxKey(key)) {
        const bool inRange = *value >= minimum && *value <= maximum;
        FUZZ_CHECK(accepted.has_value() == inRange);
        FUZZ_CHECK(!accepted || *accepted == *value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    Promenne shared;
    test::FakePlatform platform;
    FrmDemo dialog(shared, platform);
    dialog.Form_Load();
    // Bounds the boxes use, and others.
    const int minimum = input.byte() < 128 ? 1 : static_cast<std::int16_t>(input.word());
    const int maximum = input.byte() < 128 ? 1000 : static_cast<std::int16_t>(input.word());

    while (!input.empty()) {
        const std::uint8_t edit = input.byte();
        QString& text = dialog.txtDemo.text;
        if (edit < 128) {
            text += kPieces[edit % kPieces.size()];
        } else if (edit < 160) {
            text.chop(1);
        } else if (edit < 176) {
            text.clear();
        } else {
            // Any characters at all, pasted in.
            const qsizetype count = input.byte() % 8;
            for (qsizetype i = 0; i < count; ++i) {
                text += QChar(input.word());
            }
        }
        const int key = keyFrom(input);
        checkRule(text, key, minimum, maximum);
        checkRule(text, key, kDemoSpeedMin, kDemoSpeedMax);
        dialog.txtDemo_KeyUp(key);
        // The speed in use is always the scroll bar's, and always one the demonstration has.
        FUZZ_CHECK(shared.RychlostUkazky == dialog.vsbDemo.value);
        FUZZ_CHECK(dialog.vsbDemo.value >= kDemoSpeedMin && dialog.vsbDemo.value <= kDemoSpeedMax);
    }
    return 0;
}
