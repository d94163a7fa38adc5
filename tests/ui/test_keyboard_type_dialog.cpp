// The keyboard-type dialog as the learner and a screen reader work it: keys, clicks,
// accessibility actions and the window system's close.
#include "demo/frm_demo.h"
#include "keyboard/frm_klavesnice.h"
#include "support/demo_speed.h"
#include "support/fake_platform.h"
#include "ui/demo_speed_dialog.h"
#include "ui/keyboard_type_dialog.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCloseEvent>
#include <QRadioButton>
#include <QTest>

using namespace tipora;

namespace {

struct Dialog {
    Dialog() {
        dialog.show();
        dialog.activateWindow();
    }

    QRadioButton* option(const char* name) const {
        return dialog.findChild<QRadioButton*>(QLatin1String(name));
    }

    // What the learner sees must be what OK will store.
    void checkShownChoice(const char* chosen) const {
        QCOMPARE(option("OptCZ")->isChecked(), model.OptCZ.value == 1);
        QCOMPARE(option("OptCZQ")->isChecked(), model.OptCZQ.value == 1);
        QCOMPARE(model.OptCZ.value + model.OptCZQ.value, 1);
        QVERIFY(option(chosen)->isChecked());
    }

    Promenne shared;
    test::FakePlatform platform;
    FrmKlavesnice model{shared, platform};
    ui::KeyboardTypeDialog dialog{model};
};

// As the platform delivers the window manager's close request.
void closeFromTheWindowSystem(QWidget& window) {
    QCloseEvent close;
    QApplication::sendEvent(window.windowHandle(), &close);
}

} // namespace

using Keys = QList<QKeyCombination>;

class TestKeyboardTypeDialog : public QObject {
    Q_OBJECT

private slots:
    void keysChooseTheKeyboard_data() {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("type");
        const auto tab = QKeyCombination(Qt::Key_Tab);
        const auto space = QKeyCombination(Qt::Key_Space);
        const auto down = QKeyCombination(Qt::Key_Down);
        const auto up = QKeyCombination(Qt::Key_Up);
        QTest::newRow("Enter at once") << Keys{} << 1;
        QTest::newRow("Down") << Keys{down} << 2;
        QTest::newRow("Down, Up") << Keys{down, up} << 1;
        QTest::newRow("Down past the last") << Keys{down, down} << 2;
        QTest::newRow("Tab") << Keys{tab} << 2;
        QTest::newRow("Tab, Space") << Keys{tab, space} << 2;
        QTest::newRow("Space on the chosen one") << Keys{space} << 1;
        QTest::newRow("Down, Space") << Keys{down, space} << 2;
        QTest::newRow("Tab to OK") << Keys{tab, tab} << 2;
        QTest::newRow("Tab to OK and back")
            << Keys{tab, tab, QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab), up} << 1;
    }

    void keysChooseTheKeyboard() {
        QFETCH(Keys, keys);
        QFETCH(int, type);
        Dialog d;
        QVERIFY(QTest::qWaitForWindowActive(&d.dialog));
        QCOMPARE(QApplication::focusWidget(), d.option("OptCZ"));
        for (const QKeyCombination key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        }
        d.checkShownChoice(type == 1 ? "OptCZ" : "OptCZQ");
        QVERIFY(!d.model.accepted());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(d.model.accepted());
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.shared.TypKlavesnice.value(), type);
    }

    void clickingAChosenOptionKeepsIt() {
        Dialog d;
        QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
        QTest::mouseClick(d.option("OptCZ"), Qt::LeftButton);
        d.checkShownChoice("OptCZ");
        QTest::mouseClick(d.option("OptCZQ"), Qt::LeftButton);
        d.checkShownChoice("OptCZQ");
        QTest::mouseClick(d.option("OptCZQ"), Qt::LeftButton);
        d.checkShownChoice("OptCZQ");
    }

    // A screen reader presses or toggles an option without keys or a pointer.
    void accessibilityActionsChoose_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("press") << QAccessibleActionInterface::pressAction();
        QTest::newRow("toggle") << QAccessibleActionInterface::toggleAction();
    }

    void accessibilityActionsChoose() {
        QFETCH(QString, action);
        Dialog d;
        QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
        const auto act = [&](const char* name) {
            QAccessibleInterface* option = QAccessible::queryAccessibleInterface(d.option(name));
            QVERIFY(option && option->actionInterface());
            option->actionInterface()->doAction(action);
        };
        act("OptCZQ");
        QTRY_COMPARE(d.model.OptCZQ.value, 1); // a press is animated before it clicks
        d.checkShownChoice("OptCZQ");
        act("OptCZQ");
        QTest::qWait(200);
        d.checkShownChoice("OptCZQ");
        act("OptCZ");
        QTRY_COMPARE(d.model.OptCZ.value, 1);
        d.checkShownChoice("OptCZ");
        act("OptCZQ");
        QTRY_COMPARE(d.model.OptCZQ.value, 1);
        QTest::keyClick(&d.dialog, Qt::Key_Return);
        QCOMPARE(d.shared.TypKlavesnice.value(), 2);
    }

    void onlyTheWindowSystemClosesItUnanswered() {
        Dialog d;
        QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
        QTest::keyClick(d.option("OptCZ"), Qt::Key_Escape);
        QVERIFY(d.dialog.isVisible());
        closeFromTheWindowSystem(d.dialog);
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!d.model.accepted());
        QVERIFY(!d.shared.TypKlavesnice.isSet());
    }

    void otherDialogsIgnoreTheWindowSystemsClose() {
        test::DemoSpeed d;
        QVERIFY(d.exposed());
        closeFromTheWindowSystem(d.dialog);
        QVERIFY(d.dialog.isVisible());
        QVERIFY(!d.model.closed());
    }
};

QTEST_MAIN(TestKeyboardTypeDialog)
#include "test_keyboard_type_dialog.moc"
