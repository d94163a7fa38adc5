#include "demo/frm_demo.h"
#include "support/fake_platform.h"

#include <QTest>

using namespace tipora;

namespace {

// Types one key into the speed box: the box gets the character, then the key is released.
void typeKey(FrmDemo& dialog, int keyCode, const QString& character) {
    dialog.txtDemo.text += character;
    dialog.Form_KeyUp(keyCode);
    if (!dialog.closed()) {
        dialog.txtDemo_KeyUp(keyCode);
    }
}

void typeDigits(FrmDemo& dialog, const QString& digits, int keypadBase = 48) {
    for (QChar c : digits) {
        typeKey(dialog, keypadBase + c.digitValue(), QString(c));
    }
}

struct Fixture {
    Fixture() : dialog(shared, platform) { dialog.Form_Load(); }
    Promenne shared;
    test::FakePlatform platform;
    FrmDemo dialog;
};

} // namespace

class TestFrmDemo : public QObject {
    Q_OBJECT

private slots:
    void opensAtSpeedOneEveryTime() {
        Fixture fx;
        fx.shared.RychlostUkazky = 250; // from an earlier demonstration
        fx.dialog.Form_Load();
        QCOMPARE(fx.shared.RychlostUkazky, std::int16_t{1});
        QCOMPARE(fx.dialog.txtDemo.text, QStringLiteral("1"));
        QCOMPARE(fx.dialog.vsbDemo.value, 1);
        QCOMPARE(fx.dialog.window.title, QStringLiteral("Nastavení ukázky"));
        QCOMPARE(fx.dialog.window.left, (19200 - 2295) / 2 + 1); // 8452.5 rounds up
        fx.dialog.cmdOK_Click();
        QVERIFY(fx.dialog.closed());
    }

    void typedSpeedsAreCheckedOnEveryKey_data() {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("keypadBase");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("box");
        QTest::newRow("25") << "25" << 48 << 25 << "25";
        QTest::newRow("keypad 25") << "25" << 96 << 25 << "25";
        QTest::newRow("300") << "300" << 48 << 300 << "300";
        QTest::newRow("301 keeps 30") << "301" << 48 << 30 << "";
        QTest::newRow("0 first") << "0" << 48 << 1 << "";
        QTest::newRow("05 after 0") << "05" << 48 << 5 << "5";
    }

    void typedSpeedsAreCheckedOnEveryKey() {
        QFETCH(QString, digits);
        QFETCH(int, keypadBase);
        QFETCH(int, speed);
        QFETCH(QString, box);
        Fixture fx;
        fx.dialog.txtDemo.text.clear(); // the learner replaces the 1
        typeDigits(fx.dialog, digits, keypadBase);
        QCOMPARE(int(fx.shared.RychlostUkazky), speed);
        QCOMPARE(fx.dialog.txtDemo.text, box);
        QCOMPARE(fx.dialog.vsbDemo.value, speed);
    }

    void otherKeysEmptyTheBoxAndKeepTheSpeed() {
        Fixture fx;
        fx.dialog.txtDemo.text.clear();
        typeDigits(fx.dialog, QStringLiteral("42"));
        fx.dialog.txtDemo.text.chop(1); // Backspace removes a digit...
        fx.dialog.txtDemo_KeyUp(8);     // ...and the release empties the box
        QCOMPARE(fx.dialog.txtDemo.text, QString());
        QCOMPARE(int(fx.shared.RychlostUkazky), 42);
        typeKey(fx.dialog, 'A', QStringLiteral("a"));
        QCOMPARE(fx.dialog.txtDemo.text, QString());
        // Enter on an empty box starts at the last accepted speed.
        fx.dialog.Form_KeyUp(13);
        QVERIFY(fx.dialog.closed());
        QCOMPARE(int(fx.shared.RychlostUkazky), 42);
    }

    // Czech digits are Shift + the number row: Shift's release, before or after the digit's,
    // must not throw the number away.
    void shiftedDigitsOfTheCzechKeyboardStay() {
        Fixture fx;
        fx.dialog.txtDemo.text.clear();
        fx.dialog.txtDemo.text = QStringLiteral("2");
        fx.dialog.txtDemo_KeyUp(16); // Shift released first
        fx.dialog.txtDemo_KeyUp(50);
        fx.dialog.txtDemo.text += QStringLiteral("5");
        fx.dialog.txtDemo_KeyUp(53);
        fx.dialog.txtDemo_KeyUp(16); // ...or last
        QCOMPARE(fx.dialog.txtDemo.text, QStringLiteral("25"));
        QCOMPARE(int(fx.shared.RychlostUkazky), 25);
        fx.dialog.txtDemo_KeyUp(20); // Caps Lock neither
        QCOMPARE(fx.dialog.txtDemo.text, QStringLiteral("25"));
    }

    void scrollBarAndBoxMirrorEachOther() {
        Fixture fx;
        fx.dialog.setScrollValue(2);
        QCOMPARE(fx.dialog.txtDemo.text, QStringLiteral("2"));
        QCOMPARE(int(fx.shared.RychlostUkazky), 2);
        fx.dialog.setScrollValue(0); // cannot leave 1 to 300
        QCOMPARE(fx.dialog.vsbDemo.value, 1);
        fx.dialog.setScrollValue(999);
        QCOMPARE(fx.dialog.txtDemo.text, QStringLiteral("300"));
    }

    void leadingNumberReadsLikeTheOldBoxes() {
        QCOMPARE(leadingNumber(QStringLiteral("  25x")), 25.0);
        QCOMPARE(leadingNumber(QStringLiteral("")), 0.0);
        QCOMPARE(leadingNumber(QStringLiteral("abc")), 0.0);
        QCOMPARE(leadingNumber(QStringLiteral("2.5")), 2.5);
        QVERIFY(isNumericBoxKey(13) && isNumericBoxKey(57) && isNumericBoxKey(105));
        QVERIFY(!isNumericBoxKey(8) && !isNumericBoxKey(65) && !isNumericBoxKey(106));
    }
};

QTEST_GUILESS_MAIN(TestFrmDemo)
#include "test_frm_demo.moc"
