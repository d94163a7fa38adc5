// Key events as the desktop may deliver them, through the key-code mapping and the dead-key
// composer into a lesson of the bundled course, as the main window passes them on.
#include "fuzz/fuzz_support.h"
#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"
#include "ground/windows1250.h"
#include "keyboard/dead_keys.h"
#include "keyboard/key_event_mapping.h"
#include "support/fake_platform.h"
#include "support/observed.h"
#include "support/virtual_clock.h"
#include "window/frm_tipora.h"

#include <QDir>
#include <algorithm>
#include <array>

using namespace tipora;

namespace {

constexpr std::array kKeys{
    int(Qt::Key_A),
    int(Qt::Key_C),
    int(Qt::Key_E),
    int(Qt::Key_N),
    int(Qt::Key_Y),
    int(Qt::Key_Z),
    int(Qt::Key_0),
    int(Qt::Key_5),
    int(Qt::Key_Dead_Acute),
    int(Qt::Key_Dead_Caron),
    int(Qt::Key_Shift),
    int(Qt::Key_Control),
    int(Qt::Key_Alt),
    int(Qt::Key_CapsLock),
    int(Qt::Key_Pause),
    int(Qt::Key_Return),
    int(Qt::Key_Enter),
    int(Qt::Key_Backspace),
    int(Qt::Key_Tab),
    int(Qt::Key_Escape),
    int(Qt::Key_Space),
    int(Qt::Key_Delete),
    int(Qt::Key_Left),
    int(Qt::Key_QuoteDbl),
    0x11A /* Ě */,
    0x160 /* Š */,
    0x10C /* Č */,
    0x158 /* Ř */,
    0x17D /* Ž */,
    0xDD /* Ý */,
    0xC1 /* Á */,
    0xCD /* Í */,
    0xC9 /* É */,
    0xDA /* Ú */,
    0x16E /* Ů */,
    0xA7 /* § */,
    0xA8 /* ¨ */,
    0xB4 /* ´ */,
    0x2C7 /* ˇ */,
    int('+'),
    int('='),
    int(')'),
    int(','),
    int('-'),
    int('.'),
    int(';'),
    int('%'),
    int('!'),
};

const std::array<QString, 24> kTexts{
    QString(),
    QStringLiteral("a"),
    QStringLiteral("A"),
    QStringLiteral("e"),
    QStringLiteral("E"),
    QStringLiteral("n"),
    QStringLiteral("z"),
    QStringLiteral(" "),
    QStringLiteral("1"),
    QStringLiteral("+"),
    QStringLiteral("ě"),
    QStringLiteral("š"),
    QStringLiteral("ů"),
    QStringLiteral("\t"),
    QStringLiteral("\r"),
    QStringLiteral("\b"),
    QStringLiteral("\x1b"),
    QStringLiteral("\x7f"),
    QStringLiteral("😀"),
    QStringLiteral("ab"),
    QStringLiteral("é"),
    QStringLiteral("€"),
    QStringLiteral("ß"),
    QStringLiteral("´"),
};

bool mappedCode(int code) {
    constexpr std::array kUnlabelled{0, 8, 9, 17, 18, 19, 27};
    if (std::find(kUnlabelled.begin(), kUnlabelled.end(), code) != kUnlabelled.end()) {
        return true;
    }
    // Every other code names a label; only the right Shift's is never reported by a key.
    return code != kKeyRightShift && findKey(code).has_value();
}

// What the composer gives for one key, checked against what a keyboard does.
QString compose(DeadKeyComposer& composer, int qtKey, const QString& text) {
    if (qtKey == Qt::Key_Dead_Acute || qtKey == Qt::Key_Dead_Caron) {
        const DeadKey dead = qtKey == Qt::Key_Dead_Acute ? DeadKey::Acute : DeadKey::Caron;
        const bool waited = composer.pending();
        const QString typed = composer.deadKey(dead);
        FUZZ_CHECK(typed.size() == (waited ? 1 : 0));
        FUZZ_CHECK(typed.isEmpty() || typed == QString(kAcute) || typed == QString(kCaron));
        return typed;
    }
    const bool waited = composer.pending();
    const QString typed = composer.text(text);
    if (!waited || text.isEmpty()) {
        FUZZ_CHECK(typed == text);
        FUZZ_CHECK(composer.pending() == waited);
        return typed;
    }
    FUZZ_CHECK(!composer.pending());
    if (text == QStringLiteral(" ")) {
        FUZZ_CHECK(typed == QString(kAcute) || typed == QString(kCaron));
    } else if (typed.size() == text.size()) {
        // Composed: the first character is the accented letter of the one typed.
        const auto parts = decomposeDeadKey(typed.front());
        FUZZ_CHECK(parts.has_value() && parts->base == text.front());
        FUZZ_CHECK(typed.mid(1) == text.mid(1));
    } else {
        FUZZ_CHECK(typed.size() == text.size() + 1);
        FUZZ_CHECK(typed.front() == kAcute || typed.front() == kCaron);
        FUZZ_CHECK(typed.mid(1) == text);
    }
    return typed;
}

void typeText(FrmTipora& window, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        window.Form_KeyPress(windows1250Code(QStringView(text).sliced(i, length)));
        i += length - 1;
    }
}

// The input line shows exactly what was typed right of the exercise line.
void checkLine(const FrmTipora& window) {
    const test::Observed s = test::observe(window);
    if (!s.LekceNactena || s.Ukazka) {
        return;
    }
    FUZZ_CHECK(s.Pozice >= 1 && s.Pozice <= s.Zadani.size() + 1);
    FUZZ_CHECK(window.form.txtVstup.text == s.Zadani.left(s.Pozice - 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    Promenne shared;
    const std::uint8_t setup = input.byte();
    shared.TypKlavesnice = 1 + (setup & 1);
    test::FakePlatform platform;
    FrmTipora window(shared, platform, QDir(QStringLiteral(TIPORA_DATA_DIR)));
    window.Form_Load();
    shared.OdezvaKlaves = (setup >> 1) & 1;
    shared.PipChyba = (setup >> 2) & 1;
    window.mnuLekce_Click(1 + int(input.pick(kLessonCount)));
    FUZZ_CHECK(window.session().lessonLoaded()); // the bundled course has every lesson
    test::VirtualClock clock(window.timerHandlers());
    DeadKeyComposer composer;

    while (!input.empty()) {
        const std::uint8_t kind = input.byte();
        if ((kind & 0xC0) == 0xC0) {
            clock.advance((kind & 0x3F) * 97);
            checkLine(window);
            continue;
        }
        const auto source = static_cast<KeySource>(kind % 3);
        const std::uint8_t keyChoice = input.byte();
        const int qtKey = keyChoice < 240 ? kKeys[keyChoice % kKeys.size()] : int(input.dword());
        const KeyEventFacts facts{qtKey, input.byte(), input.byte()};
        const int code = keyCodeForEvent(facts, source);
        if (source == KeySource::Windows) {
            FUZZ_CHECK(code == int(facts.nativeVirtualKey));
        } else {
            FUZZ_CHECK(mappedCode(code));
        }
        if (kind & 0x20) {
            window.Form_KeyUp(code);
            checkLine(window);
            continue;
        }
        // The text a key types: often the character the line wants next, so lessons go on.
        QString text;
        const std::uint8_t textChoice = input.byte();
        if (textChoice < 96) {
            const test::Observed s = test::observe(window);
            text =
                s.Pozice <= s.Zadani.size() ? s.Zadani.mid(s.Pozice - 1, 1) : QStringLiteral("\r");
        } else {
            text = kTexts[textChoice % kTexts.size()];
        }
        const QString typed = compose(composer, qtKey, text);
        window.Form_KeyDown(code);
        typeText(window, typed);
        checkLine(window);
    }
    return 0;
}
