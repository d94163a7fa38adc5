// What the learner hears and what the window offers around a lesson: the key and error beeps,
// the menu items a run enables, where the input line and its cursor stand at the start and end
// of a lesson and after a skip, the keystrokes per minute at the end of a line, and when a tempo
// chosen in the settings reaches the metronome.
#include "dialogs/frm_nastaveni.h"
#include "support/tutor.h"
#include "window/frm_tipora.h"

#include <QTest>
#include <functional>

using namespace tipora;

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kColumnOneLeft = 120; // twips: the cursor under the first character
constexpr int kCell = 120;
constexpr int kEnterMarkAway = 7320;

using test::Tutor;

// A lesson 1 whose lines are "ab" and "cd"; lesson 2 keeps the course's "ab 2", "cd".
void startShortLesson(Tutor& t) {
    t.folder.exercises[1] = {QStringLiteral("ab"), QStringLiteral("cd")};
    t.rewrite();
    t.w().mnuLekce_Click(1);
}

int beepsDuring(Tutor& t, const std::function<void()>& action) {
    const int before = t.platform.beeps;
    action();
    return t.platform.beeps - before;
}

void typeIntoTempoBox(FrmNastaveni& dialog, const QString& digits) {
    for (QChar c : digits) {
        dialog.txtMetronom.text += c;
        dialog.txtMetronom_KeyUp('0' + c.digitValue());
    }
}

} // namespace

class TestLessonControls : public QObject {
    Q_OBJECT

private slots:
    void beepsFollowTheTwoSettings_data() {
        QTest::addColumn<int>("keyBeep");
        QTest::addColumn<int>("errorBeep");
        QTest::addColumn<int>("perCharacter");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<int>("perError");
        QTest::newRow("both off") << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("key beep") << 1 << 0 << 1 << 1 << 1;
        QTest::newRow("error beep") << 0 << 1 << 0 << 0 << 1;
        QTest::newRow("both on") << 1 << 1 << 1 << 1 << 2;
    }

    void beepsFollowTheTwoSettings() {
        QFETCH(int, keyBeep);
        QFETCH(int, errorBeep);
        QFETCH(int, perCharacter);
        QFETCH(int, perLine);
        QFETCH(int, perError);
        Tutor t;
        t.shared.PipKlavesa = keyBeep;
        t.shared.PipChyba = errorBeep;
        startShortLesson(t);

        QCOMPARE(beepsDuring(t, [&] { t.type(QStringLiteral("a")); }), perCharacter);
        QCOMPARE(beepsDuring(t, [&] { t.type(QStringLiteral("x")); }), perError);
        QCOMPARE(beepsDuring(t, [&] { t.w().Form_KeyPress(kEnter); }), perError); // too early
        QCOMPARE(beepsDuring(t, [&] { t.w().Form_KeyPress(kBackspace); }), 0);    // ignored
        QCOMPARE(beepsDuring(t, [&] { t.type(QStringLiteral("b")); }), perCharacter);
        QCOMPARE(beepsDuring(t, [&] { t.type(QStringLiteral("c")); }), perError); // past the end
        // The line had errors: closing it beeps as any closed line, and it comes again.
        QCOMPARE(beepsDuring(t, [&] { t.w().Form_KeyPress(kEnter); }), perLine);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("ab"));
        t.type(QStringLiteral("ab"));
        QCOMPARE(beepsDuring(t, [&] { t.w().Form_KeyPress(kEnter); }), perLine);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("cd"));
    }

    void firstKeyOffersStopAndPause_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("accepted") << int('a');
        QTest::newRow("wrong") << int('x');
        QTest::newRow("Enter too early") << kEnter;
        QTest::newRow("Backspace, ignored") << kBackspace;
    }

    void firstKeyOffersStopAndPause() {
        QFETCH(int, key);
        Tutor t;
        startShortLesson(t);
        // Any first key begins the run, which can then be paused and stopped.
        t.w().Form_KeyPress(key);
        QVERIFY(t.s().Spusteno);
        QVERIFY(t.f().mnuStop.enabled && t.f().tmrTimeP.enabled());
    }

    void firstKeyDuringASkippedToMessageOffersStop() {
        // A message reached by skipping before the first key disables Stop but cannot pause a
        // run that has not begun, so typing goes on; the first key begins the run.
        Tutor t;
        t.folder.exercises[1] = {QStringLiteral("ab"), QStringLiteral(">>>Pozor"),
                                 QStringLiteral("cd"), QStringLiteral("ef")};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.w().imgDalsi_Click();
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Pozor"));
        QVERIFY(!t.f().mnuStop.enabled);
        QVERIFY(!t.s().Pauza);
        t.type(QStringLiteral("x"));
        QVERIFY(t.s().Spusteno);
        QVERIFY(t.f().mnuStop.enabled && t.f().mnuPause.enabled);
    }

    void stopEmptiesTheInputLineAndReturnsTheCursor_data() {
        QTest::addColumn<bool>("clear");
        QTest::newRow("statistics kept") << false;
        QTest::newRow("statistics cleared") << true;
    }

    void stopEmptiesTheInputLineAndReturnsTheCursor() {
        QFETCH(bool, clear);
        Tutor t;
        startShortLesson(t);
        t.type(QStringLiteral("ab"));
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("ab"));
        QCOMPARE(t.f().shpKurzor.geometry.left, kColumnOneLeft + 2 * kCell);
        QString inputWhileAsked = QStringLiteral("not asked");
        t.platform.whileModal = [&t, &inputWhileAsked] { inputWhileAsked = t.f().txtVstup.text; };
        t.platform.answers = {clear ? MessageResult::Yes : MessageResult::No};
        t.w().mnuStop_Click();
        QCOMPARE(inputWhileAsked, QString()); // emptied before the question
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, kColumnOneLeft);
    }

    void lessonStartTypesFromColumnOne() {
        Tutor t;
        startShortLesson(t);
        t.type(QStringLiteral("a"));
        t.w().mnuStop_Click(); // a menu Stop leaves the column where the learner was
        t.w().mnuLekce_Click(2);
        QCOMPARE(t.s().Pozice, 1);
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, kColumnOneLeft);
        // The new line's first character is expected, not its second.
        t.type(QStringLiteral("a"));
        QCOMPARE(t.s().Chyby, 0);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        QCOMPARE(t.f().shpKurzor.geometry.left, kColumnOneLeft + kCell);

        // Chosen in the middle of a line, a lesson starts on an empty input line too.
        t.w().mnuLekce_Click(3);
        QCOMPARE(t.s().Pozice, 1);
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, kColumnOneLeft);
        t.typeLine(QStringLiteral("ab 3"));
        QCOMPARE(t.s().Chyby, 0);
        QCOMPARE(t.s().Napsano, QStringLiteral("ab 3"));
    }

    void skippingPutsTheReturnArrowAway() {
        Tutor t;
        startShortLesson(t);
        t.type(QStringLiteral("ab"));
        QCOMPARE(t.f().lblEnter.fore, kWhite);
        QCOMPARE(t.f().lblEnter.geometry.left, kColumnOneLeft + 2 * kCell);
        t.w().imgDalsi_Click();
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("cd"));
        QCOMPARE(t.f().lblEnter.fore, kBlack);
        QCOMPARE(t.f().lblEnter.geometry.left, kEnterMarkAway);
    }

    void closingALineRecountsKeystrokesPerMinute() {
        Tutor t;
        startShortLesson(t);
        t.type(QStringLiteral("a")); // the run and its clock begin
        t.clock->advance(2000);
        t.type(QStringLiteral("b"));
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("60")); // 2 keystrokes in 2 s
        t.clock->advance(2000);
        t.w().Form_KeyPress(kEnter); // 3 keystrokes in 4 s
        QCOMPARE(t.s().UhozyVMin, std::int16_t{45});
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("45"));
        t.clock->advance(2000);
        t.type(QStringLiteral("c"));
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("40")); // 4 in 6 s
        t.clock->advance(2000);
        t.type(QStringLiteral("d"));
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("38")); // 5 in 8 s
        t.clock->advance(2000);
        t.w().Form_KeyPress(kEnter); // the lesson's last line: 6 in 10 s
        QCOMPARE(t.s().Uhozy, 6);
        QCOMPARE(t.s().UhozyVMin, std::int16_t{36});
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("36"));
    }

    void newTempoWaitsForTheNextSwitchOn() {
        Tutor t(" 120  0  0  0 \r\n");
        startShortLesson(t);
        t.w().imgMetronom_Click();
        QCOMPARE(t.f().tmrMetronom.interval(), 500);
        t.type(QStringLiteral("a"));

        t.platform.settingsDialog = [](FrmNastaveni& dialog) {
            dialog.txtMetronom.text.clear();
            typeIntoTempoBox(dialog, QStringLiteral("60"));
            dialog.cmdOK_Click();
        };
        t.w().mnuNastaveni_Click();
        QCOMPARE(t.shared.Metronom.value(), 60);
        // The beat that is running keeps its interval.
        QVERIFY(t.f().tmrMetronom.enabled());
        QCOMPARE(t.f().tmrMetronom.interval(), 500);
        t.platform.beeps = 0;
        t.clock->advance(2000);
        QCOMPARE(t.platform.beeps, 4);

        t.w().imgMetronom_Click(); // off
        t.w().imgMetronom_Click(); // on again, at the new tempo
        QCOMPARE(t.f().tmrMetronom.interval(), 1000);
        t.platform.beeps = 0;
        t.clock->advance(2000);
        QCOMPARE(t.platform.beeps, 2);
    }
};

QTEST_GUILESS_MAIN(TestLessonControls)
#include "test_lesson_controls.moc"
