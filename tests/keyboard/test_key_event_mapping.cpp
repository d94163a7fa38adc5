#include "ground/key_table.h"
#include "keyboard/key_event_mapping.h"

#include <QTest>
#include <set>

using namespace tipora;

namespace {

// A PC keyboard as X reports it, a run of neighbouring places at a time: the keycode of the
// run's first place, the labels the Czech layout puts on the places in turn, and the key code
// each place gives. A code of 0 marks a letter that follows the layout: QWERTY trades Y and Z.
struct Run {
    quint32 firstKeycode;
    QList<int> qwertzKeys;
    QList<int> codes;
};

const Run kRuns[] = {
    {10,
     {'+', 0x11A, 0x160, 0x10C, 0x158, 0x17D, 0xDD, 0xC1, 0xCD, 0xC9, '=', Qt::Key_Dead_Acute},
     {49, 50, 51, 52, 53, 54, 55, 56, 57, 48, 189, 187}},
    {24,
     {'Q', 'W', 'E', 'R', 'T', 'Z', 'U', 'I', 'O', 'P', 0xDA, ')', Qt::Key_Return},
     {'Q', 'W', 'E', 'R', 'T', 0, 'U', 'I', 'O', 'P', 219, 221, 13}},
    {38,
     {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0x16E, 0xA7, 0x3B, Qt::Key_Shift},
     {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 186, 222, 192, 16}},
    {52,
     {'Y', 'X', 'C', 'V', 'B', 'N', 'M', ',', '.', '-', Qt::Key_Shift},
     {0, 'X', 'C', 'V', 'B', 'N', 'M', 188, 190, 191, 16}},
    {65, {Qt::Key_Space, Qt::Key_CapsLock}, {32, 20}},
};

int qwertyKey(int qwertzKey) {
    return qwertzKey == 'Z' ? 'Y' : qwertzKey == 'Y' ? 'Z' : qwertzKey;
}

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
        int places = 0;
        for (const Run& run : kRuns) {
            QCOMPARE(run.codes.size(), run.qwertzKeys.size());
            for (qsizetype i = 0; i < run.codes.size(); ++i) {
                const quint32 keycode = run.firstKeycode + quint32(i);
                const int qtKey = qwerty ? qwertyKey(run.qwertzKeys[i]) : run.qwertzKeys[i];
                // Letters follow the layout; everything else stays where it is.
                const int expected = run.codes[i] != 0 ? run.codes[i] : qtKey;
                const int code = keyCodeForEvent({qtKey, keycode, 0}, KeySource::X11);
                QVERIFY2(code == expected,
                         qPrintable(QStringLiteral("keycode %1 gave %2").arg(keycode).arg(code)));
                reached.insert(code);
                ++places;
            }
        }
        QCOMPARE(places, 51);
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
