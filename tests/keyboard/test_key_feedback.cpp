#include "ground/key_table.h"
#include "support/fake_platform.h"
#include "support/lesson_folder.h"
#include "support/observed.h"
#include "window/frm_tipora.h"

#include <QTest>
#include <memory>

using namespace tipora;

namespace {

constexpr int kPause = 19;
constexpr int kCtrl = 17;

struct Keyboard {
    explicit Keyboard(bool visualResponse, int keyboardType = 1) {
        folder.writeCourse();
        folder.writeIni(visualResponse ? " 100  1  0  0 \r\n" : " 100  0  0  0 \r\n");
        shared.TypKlavesnice = keyboardType;
        window = std::make_unique<FrmTipora>(shared, platform, QDir(folder.path()));
        window->Form_Load();
    }

    Control& key(int code) { return *window->form.klavesa(code); }
    QString captions(std::initializer_list<int> codes) {
        QStringList list;
        for (int code : codes) {
            list << key(code).text;
        }
        return list.join(u' ');
    }
    bool lit(int code) { return key(code).back == kBlack && key(code).fore == kWhite; }

    test::LessonFolder folder;
    Promenne shared;
    test::FakePlatform platform;
    std::unique_ptr<FrmTipora> window;
};

} // namespace

class TestKeyFeedback : public QObject {
    Q_OBJECT

private slots:
    void pressedKeyLightsAndGetsItsColourBack() {
        Keyboard kb(true);
        kb.window->mnuLekce_Click(1);
        kb.window->Form_KeyDown('F');
        QVERIFY(kb.lit('F'));
        QCOMPARE(test::observe(*kb.window).KlavesaCervena, int('F'));
        kb.window->Form_KeyUp('F');
        QCOMPARE(kb.key('F').back, kRed);
        QCOMPARE(kb.key('F').fore, kBlack);
        QCOMPARE(test::observe(*kb.window).KlavesaCervena, 0);

        kb.window->Form_KeyDown('A');
        QVERIFY(kb.lit('A'));
        kb.window->Form_KeyUp('A');
        QCOMPARE(kb.key('A').back, kWhite);
        QCOMPARE(kb.key('A').fore, kBlack);

        kb.window->mnuLekce_Click(6);
        kb.window->Form_KeyDown('S');
        kb.window->Form_KeyUp('S');
        QCOMPARE(kb.key('S').back, kGreen);
    }

    void onlyOneKeyIsLitAtATime() {
        Keyboard kb(true);
        kb.window->mnuLekce_Click(1);
        kb.window->Form_KeyDown('J');
        kb.window->Form_KeyDown('J'); // auto-repeat
        kb.window->Form_KeyDown('K'); // pressed while J is held
        QVERIFY(kb.lit('J'));
        QCOMPARE(kb.key('K').back, kRed);
        kb.window->Form_KeyUp('K'); // any release restores the lit key
        QCOMPARE(kb.key('J').back, kRed);
        // Ctrl has no label: it restores the lit key on release and is never lit itself.
        kb.window->Form_KeyDown('D');
        kb.window->Form_KeyDown(kCtrl);
        kb.window->Form_KeyUp(kCtrl);
        QCOMPARE(kb.key('D').back, kRed);
        QCOMPARE(test::observe(*kb.window).KlavesaCervena, 0);
    }

    void shiftChangesCaptionsAndLightsBothShiftLabels() {
        Keyboard kb(true);
        kb.window->mnuLekce_Click(33); // both Shift keys are green here
        kb.window->Form_KeyDown(kKeyShift);
        QVERIFY(kb.lit(kKeyShift));
        QVERIFY(kb.lit(kKeyRightShift));
        QCOMPARE(kb.captions({192, 49, 50, 51, 52, 53, 54, 55, 56, 57, 48, 189, 187}),
                 QStringLiteral("° 1 2 3 4 5 6 7 8 9 0 % ˇ"));
        QCOMPARE(kb.captions({219, 221, 186, 222, 188, 190, 191}),
                 QStringLiteral("/ ( '' ! ? : _"));
        QCOMPARE(kb.captions({'A', 'Z', 'Q'}), QStringLiteral("A Z Q"));

        kb.window->Form_KeyDown('A'); // a key pressed under Shift is not lit
        QCOMPARE(kb.key('A').back, kGreen);
        kb.window->Form_KeyUp('A'); // ...and its release restores the left Shift
        QCOMPARE(kb.key(kKeyShift).back, kGreen);
        QVERIFY(kb.lit(kKeyRightShift));

        kb.window->Form_KeyUp(kKeyShift);
        // The right Shift gets its lesson colour back, not plain white.
        QCOMPARE(kb.key(kKeyRightShift).back, kGreen);
        QCOMPARE(kb.key(kKeyRightShift).fore, kBlack);
        QCOMPARE(kb.captions({192, 49, 186, 'A'}), QStringLiteral("; + ů a"));
    }

    void capsLockFlipsLettersOnly() {
        Keyboard kb(false);
        kb.window->Form_KeyDown(kKeyCapsLock);
        QVERIFY(test::observe(*kb.window).CapsLock);
        QCOMPARE(kb.captions({'A', 'M', 50}), QStringLiteral("A M ě"));
        kb.window->Form_KeyDown(kKeyShift);
        QCOMPARE(kb.captions({'A', 'M', 50}), QStringLiteral("a m 2"));
        kb.window->Form_KeyUp(kKeyShift);
        QCOMPARE(kb.captions({'A', 'M', 50}), QStringLiteral("A M ě"));
        kb.window->Form_KeyUp(kKeyCapsLock); // nothing on release
        QVERIFY(test::observe(*kb.window).CapsLock);
        kb.window->Form_KeyDown(kKeyCapsLock); // every key-down flips, repeats too
        kb.window->Form_KeyDown(kKeyCapsLock);
        QVERIFY(test::observe(*kb.window).CapsLock);
        // Visual response off: captions change, nothing lights.
        for (const auto& [code, label] : kb.window->form.lblKlavesa) {
            QVERIFY(label.back != kBlack);
        }
    }

    void shiftedSignsNeedAKnownKeyboardType() {
        Keyboard kb(false, 0);
        kb.shared.TypKlavesnice.reset();
        kb.window->Form_KeyDown(kKeyShift);
        QCOMPARE(kb.captions({'A', 50}), QStringLiteral("A ě"));
    }

    void pauseKeyPausesWhateverTheVisualResponse_data() {
        QTest::addColumn<bool>("visualResponse");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void pauseKeyPausesWhateverTheVisualResponse() {
        QFETCH(bool, visualResponse);
        Keyboard kb(visualResponse);
        kb.window->mnuLekce_Click(1);
        kb.window->Form_KeyPress('a');
        kb.window->Form_KeyDown(kPause);
        QVERIFY(test::observe(*kb.window).Pauza);
        QCOMPARE(kb.window->form.lblPause.fore, kRed);
        kb.window->Form_KeyUp(kPause);
        kb.window->Form_KeyDown(kPause);
        QVERIFY(!test::observe(*kb.window).Pauza);
    }

    void enterLightsLikeAnyKey() {
        Keyboard kb(true);
        kb.window->Form_KeyDown(kKeyEnter);
        QVERIFY(kb.lit(kKeyEnter));
        kb.window->Form_KeyUp(kKeyEnter);
        QCOMPARE(kb.key(kKeyEnter).back, kWhite);
    }
};

QTEST_GUILESS_MAIN(TestKeyFeedback)
#include "test_key_feedback.moc"
