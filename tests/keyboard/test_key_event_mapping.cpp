#include "ground/key_table.h"
#include "keyboard/key_event_mapping.h"

#include <QTest>
#include <set>

using namespace tipora;

namespace {

// A PC keyboard as X reports it: the keycode of each labelled key's place, and the letter the
// Czech layouts put there (Y and Z trade places under QWERTY).
struct Place {
    quint32 x11Keycode;
    int qwertzKey;
    int qwertyKey;
    int code;
};

const Place kPlaces[] = {
    {49, 0x3B, 0x3B, 192},
    {10, '+', '+', 49},
    {11, 0x11A, 0x11A, 50},
    {12, 0x160, 0x160, 51},
    {13, 0x10C, 0x10C, 52},
    {14, 0x158, 0x158, 53},
    {15, 0x17D, 0x17D, 54},
    {16, 0xDD, 0xDD, 55},
    {17, 0xC1, 0xC1, 56},
    {18, 0xCD, 0xCD, 57},
    {19, 0xC9, 0xC9, 48},
    {20, '=', '=', 189},
    {21, Qt::Key_Dead_Acute, Qt::Key_Dead_Acute, 187},
    {24, 'Q', 'Q', 'Q'},
    {25, 'W', 'W', 'W'},
    {26, 'E', 'E', 'E'},
    {27, 'R', 'R', 'R'},
    {28, 'T', 'T', 'T'},
    {29, 'Z', 'Y', 0},
    {30, 'U', 'U', 'U'},
    {31, 'I', 'I', 'I'},
    {32, 'O', 'O', 'O'},
    {33, 'P', 'P', 'P'},
    {34, 0xDA, 0xDA, 219},
    {35, ')', ')', 221},
    {36, Qt::Key_Return, Qt::Key_Return, 13},
    {66, Qt::Key_CapsLock, Qt::Key_CapsLock, 20},
    {38, 'A', 'A', 'A'},
    {39, 'S', 'S', 'S'},
    {40, 'D', 'D', 'D'},
    {41, 'F', 'F', 'F'},
    {42, 'G', 'G', 'G'},
    {43, 'H', 'H', 'H'},
    {44, 'J', 'J', 'J'},
    {45, 'K', 'K', 'K'},
    {46, 'L', 'L', 'L'},
    {47, 0x16E, 0x16E, 186},
    {48, 0xA7, 0xA7, 222},
    {50, Qt::Key_Shift, Qt::Key_Shift, 16},
    {52, 'Y', 'Z', 0},
    {53, 'X', 'X', 'X'},
    {54, 'C', 'C', 'C'},
    {55, 'V', 'V', 'V'},
    {56, 'B', 'B', 'B'},
    {57, 'N', 'N', 'N'},
    {58, 'M', 'M', 'M'},
    {59, ',', ',', 188},
    {60, '.', '.', 190},
    {61, '-', '-', 191},
    {62, Qt::Key_Shift, Qt::Key_Shift, 16},
    {65, Qt::Key_Space, Qt::Key_Space, 32},
};

} // namespace

class TestKeyEventMapping : public QObject {
    Q_OBJECT

private slots:
    void x11KeysMapByPlaceAndLetter_data() {
        QTest::addColumn<bool>("qwerty");
        QTest::newRow("cz") << false;
        QTest::newRow("cz qwerty") << true;
    }

    void x11KeysMapByPlaceAndLetter() {
        QFETCH(bool, qwerty);
        std::set<int> reached;
        for (const Place& place : kPlaces) {
            const int qtKey = qwerty ? place.qwertyKey : place.qwertzKey;
            // Letters follow the layout; everything else stays where it is.
            const int expected = place.code != 0 ? place.code : qtKey;
            const int code = keyCodeForEvent({qtKey, place.x11Keycode, 0}, KeySource::X11);
            QVERIFY2(
                code == expected,
                qPrintable(QStringLiteral("keycode %1 gave %2").arg(place.x11Keycode).arg(code)));
            reached.insert(code);
        }
        // Every label but the right Shift (which shares code 16) is reached by a key.
        for (const KeyDef& key : kKeyTable) {
            QVERIFY2(key.code == kKeyRightShift || reached.count(key.code) == 1,
                     qPrintable(QString::number(key.code)));
        }
    }

    void keysWithoutALabelGiveTheirCodeOrNone() {
        const auto x11 = [](int qtKey, quint32 keycode) {
            return keyCodeForEvent({qtKey, keycode, 0}, KeySource::X11);
        };
        QCOMPARE(x11(Qt::Key_Pause, 127), 19);
        QCOMPARE(x11(Qt::Key_Control, 37), 17);
        QCOMPARE(x11(Qt::Key_Tab, 23), 9);
        QCOMPARE(x11(Qt::Key_Backspace, 22), 8);
        QCOMPARE(x11(Qt::Key_Escape, 9), 27);
        QCOMPARE(x11(Qt::Key_F5, 71), 0);
        QCOMPARE(x11(Qt::Key_Dead_Diaeresis, 51), 0); // between § and Enter
        QCOMPARE(x11(Qt::Key_Backslash, 94), 0);      // between Shift and Y
    }

    void windowsGivesTheKeyCodeItself() {
        QCOMPARE(keyCodeForEvent({Qt::Key_Shift, 54, 16}, KeySource::Windows), 16);
        QCOMPARE(keyCodeForEvent({0x11A, 3, 50}, KeySource::Windows), 50);
        QCOMPARE(keyCodeForEvent({Qt::Key_Dead_Acute, 13, 187}, KeySource::Windows), 187);
    }

    void withoutNativeCodesTheCzechCharactersDecide_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("code");
        QTest::newRow("ě") << 0x11A << 50;
        QTest::newRow("2 with Shift") << int(Qt::Key_2) << 50;
        QTest::newRow("é") << 0xC9 << 48;
        QTest::newRow("ů") << 0x16E << 186;
        QTest::newRow("\" with Shift") << int(Qt::Key_QuoteDbl) << 186;
        QTest::newRow("´") << int(Qt::Key_Dead_Acute) << 187;
        QTest::newRow("ˇ") << int(Qt::Key_Dead_Caron) << 187;
        QTest::newRow("§") << 0xA7 << 222;
        QTest::newRow("!") << int(Qt::Key_Exclam) << 222;
        QTest::newRow("letter") << int(Qt::Key_K) << 75;
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << 13;
        QTest::newRow("unknown") << int(Qt::Key_F1) << 0;
    }

    void withoutNativeCodesTheCzechCharactersDecide() {
        QFETCH(int, qtKey);
        QFETCH(int, code);
        QCOMPARE(keyCodeForEvent({qtKey, 0, 0}, KeySource::Generic), code);
    }

    void platformPluginChoosesTheSource_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("byPlace");
        QTest::newRow("xcb") << "xcb" << true;
        QTest::newRow("wayland") << "wayland" << true;
        QTest::newRow("wayland-egl") << "wayland-egl" << true;
        QTest::newRow("offscreen") << "offscreen" << false;
        QTest::newRow("minimal") << "minimal" << false;
        QTest::newRow("waylandish") << "waylandish" << false;
        QTest::newRow("empty") << "" << false;
    }

    // The key right of the number row's 0 reports "ß" under a German layout: only its place
    // names it, so the key is lit where Wayland and X report places.
    void platformPluginChoosesTheSource() {
        QFETCH(QString, platform);
        QFETCH(bool, byPlace);
        const KeySource source = keySourceForPlatform(platform);
        QCOMPARE(source == KeySource::X11, byPlace);
        QCOMPARE(keyCodeForEvent({0xDF, 20, 0}, source), byPlace ? 189 : 0);
        QCOMPARE(keyCodeForEvent({0x11A, 11, 0}, source), 50);
    }
};

QTEST_GUILESS_MAIN(TestKeyEventMapping)
#include "test_key_event_mapping.moc"
