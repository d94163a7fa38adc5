#include "ground/key_table.h"
#include "ground/windows1250.h"
#include "lessons/drill_texts.h"
#include "lessons/own_text.h"
#include "lessons/typing_rules.h"
#include "support/tutor.h"
#include "window/frm_tipora.h"

#include <QFile>
#include <QTest>

using namespace tipora;

namespace {
constexpr int kEnter = 13;
using test::Tutor;
} // namespace

class TestLessonFlow : public QObject {
    Q_OBJECT

private slots:
    void lessonStartShowsTitleDescriptionAndFirstLine() {
        Tutor t;
        t.folder.descriptions[7] = {"První řádek", "Druhý řádek", "Třetí"};
        t.folder.exercises[7] = {"jak se máš", "dobře"};
        t.rewrite();
        t.w().mnuLekce_Click(7);
        QCOMPARE(t.f().window.title, QStringLiteral("Tipora 1.5 - opakování"));
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("První řádek\r\nDruhý řádek\r\nTřetí"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("jak se máš"));
        QCOMPARE(t.s().Zadani, QStringLiteral("jak se máš"));
        QVERIFY(!t.s().Pauza && !t.s().Spusteno && t.s().LekceNactena);
        QVERIFY(t.f().imgDalsi.visible);
        QCOMPARE(t.f().klavesa('E')->back, kGreen);
        QCOMPARE(t.f().window.mousePointer, MousePointer::Default);
        QVERIFY(t.platform.messages.empty());
    }

    // A text of the learner's own: typographic signs made plain and said once, the paragraphs
    // wrapped to the row, its keys green; a sign no key makes is named where it stands.
    void ownTextIsTypedAsALesson() {
        Tutor t;
        const auto write = [&t](const QString& name, const QByteArray& bytes) {
            QFile file(t.folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            t.platform.textFile = file.fileName();
        };
        write(QStringLiteral("dopis.txt"),
              QStringLiteral("\u201EAhoj\u201C \u2013 jak se m\u00E1\u0161?\r\n\r\n"
                             "Tady je dlouh\u00FD odstavec, kter\u00FD se "
                             "do jednoho \u0159\u00E1dku cvi\u010Den\u00ED nevejde.")
                  .toUtf8());
        t.w().mnuVlastniText_Click();
        QCOMPARE(t.f().window.title, QStringLiteral("Tipora 1.5 - dopis.txt"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("\"Ahoj\" - jak se máš?"));
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
        QCOMPARE(t.platform.messages[0].text, texts::kTypographyPlained);
        QCOMPARE(t.f().klavesa(kKeyRingU)->back, kGreen);
        QCOMPARE(t.f().klavesa('Q')->back, kWhite);
        t.type(QStringLiteral("\"Ahoj\" - jak se máš?"));
        t.w().Form_KeyPress(kEnter);
        QCOMPARE(t.f().lblZadani.text,
                 QStringLiteral("Tady je dlouhý odstavec, který se do jednoho řádku cvičení"));

        t.w().mnuStop_Click();
        write(QStringLiteral("znaky.txt"), "ok\nab \xE2\x82\xAC");
        t.w().mnuVlastniText_Click();
        QCOMPARE(t.platform.messages.back().text, texts::untypeableCharacter(u'€', 2, 4));
        QCOMPARE(t.w().session().phase(), Phase::Ended);
    }

    void lastLessonReadsItsDescriptionToTheEnd() {
        Tutor t;
        t.folder.descriptions[50] = {"a", "LEKCE is text here", "", "z"};
        t.rewrite();
        t.w().mnuLekce_Click(50);
        QCOMPARE(t.f().window.title, QStringLiteral("Tipora 1.5 - ° % § "));
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("a\r\nLEKCE is text here\r\n\r\nz"));
        QVERIFY(t.platform.messages.empty());
    }

    void missingExerciseFileFailsOnlyItsLessons() {
        Tutor t;
        t.folder.remove(QStringLiteral("cz04.dat"));
        for (int lesson = 15; lesson <= 21; ++lesson) {
            t.platform.messages.clear();
            t.w().mnuLekce_Click(lesson);
            const bool fails = lesson >= 16 && lesson <= 20;
            QCOMPARE(t.platform.messages.size(), std::size_t(fails ? 1 : 0));
            QCOMPARE(t.s().LekceNactena, !fails);
            QCOMPARE(t.f().mnuDemo.enabled, !fails);
            if (fails) {
                QCOMPARE(t.platform.messages[0].text,
                         QStringLiteral("Chybí datový soubor cz04.dat nebo cz.dat"));
                QCOMPARE(t.platform.messages[0].title, QStringLiteral("Tipora 1.0"));
                QCOMPARE(t.f().lblZadani.text, QStringLiteral("Error"));
                // What was done before the failure stays.
                QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("Popis lekce %1").arg(lesson));
                QVERIFY(t.f().window.title.endsWith(QStringLiteral("opakování")) ||
                        t.f().window.title.endsWith(QStringLiteral(" v")) ||
                        t.f().window.title.endsWith(QStringLiteral(" m")));
                // No key is checked.
                t.type(QStringLiteral("x"));
                QCOMPARE(t.s().Chyby, 0);
                QVERIFY(!t.s().Spusteno);
            }
        }
    }

    void damagedDescriptionFileFailsTheLesson_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no header of lesson 12") << QByteArray("LEKCE 11\r\nx\r\nLEKCE 13\r\ny\r\n");
        QTest::newRow("ends inside the description") << QByteArray("LEKCE 12\r\nx\r\ny");
        QTest::newRow("ends at the header") << QByteArray("LEKCE 12\r\n");
        QTest::newRow("empty") << QByteArray();
    }

    void damagedDescriptionFileFailsTheLesson() {
        QFETCH(QByteArray, content);
        Tutor t;
        t.folder.writeBytes(QStringLiteral("cz.dat"), content);
        t.w().mnuLekce_Click(12);
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
        QCOMPARE(t.platform.messages[0].text,
                 QStringLiteral("Chybí datový soubor cz03.dat nebo cz.dat"));
        QVERIFY(!t.s().LekceNactena);
    }

    void damagedExerciseSectionsNeverCrash_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("starts");
        QTest::newRow("header missing") << QByteArray("LEKCE 01\r\nab\r\n") << false;
        QTest::newRow("header is the last line") << QByteArray("LEKCE 03\r\n") << false;
        QTest::newRow("empty section") << QByteArray("LEKCE 03\r\nLEKCE 04\r\nx\r\n") << false;
        QTest::newRow("lone LF") << QByteArray("LEKCE 03\nab\ncd\nLEKCE 04\n") << true;
        QTest::newRow("lone CR") << QByteArray("LEKCE 03\rab\rcd\rLEKCE 04\r") << true;
        QTest::newRow("not text") << QByteArray("LEKCE 03\r\n\x00\x01\x81\xff\r\n", 16) << true;
        QTest::newRow("very long line") << "LEKCE 03\r\n" + QByteArray(100000, 'a') + "\r\n"
                                        << true;
    }

    void damagedExerciseSectionsNeverCrash() {
        QFETCH(QByteArray, content);
        QFETCH(bool, starts);
        Tutor t;
        t.folder.writeBytes(QStringLiteral("cz01.dat"), content);
        t.w().mnuLekce_Click(3);
        QCOMPARE(t.s().LekceNactena, starts);
        QCOMPARE(t.platform.messages.empty(), starts);
        // Typing, skipping and waiting run to the end of the file and stop there.
        for (int i = 0; i < 5; ++i) {
            t.type(QStringLiteral("ab"));
            t.w().Form_KeyPress(kEnter);
            t.w().imgDalsi_Click();
            t.clock->advance(3000);
        }
        QVERIFY(!t.s().Spusteno);
    }

    void messageAsTheFirstLineIsShownAsAMessage() {
        Tutor t;
        t.folder.exercises[2] = {">>>Pozor", "fff"};
        t.rewrite();
        t.w().mnuLekce_Click(2);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Pozor"));
        QVERIFY(t.f().tmrText.enabled());
        t.clock->advance(3000);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("fff"));
        QVERIFY(t.f().mnuStop.enabled);
    }

    void checkingComparesExactly() {
        Tutor t;
        t.folder.exercises[1] = {"aš", "x"};
        t.rewrite();
        t.w().mnuLekce_Click(1);

        t.type(QStringLiteral("A"));
        QCOMPARE(t.s().Chyby, 1);
        QCOMPARE(t.f().lblChyby.text, QStringLiteral("1"));
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, 120);
        QVERIFY(t.s().Spusteno); // the first key, even a wrong one, starts the run

        t.type(QStringLiteral("a"));
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        QCOMPARE(t.f().shpKurzor.geometry.left, 240);
        QCOMPARE(t.s().Uhozy, 1);

        t.type(QStringLiteral("s")); // diacritics count
        QCOMPARE(t.s().Chyby, 2);
        for (int key : {8, 9, 27}) { // Backspace, Tab, Esc inside the line
            t.w().Form_KeyPress(key);
        }
        QCOMPARE(t.s().Chyby, 2);
        t.w().Form_KeyPress(kEnter); // too early
        QCOMPARE(t.s().Chyby, 3);
        QCOMPARE(t.s().Radky, 0);
        t.w().Form_KeyPress(-1); // a character the code page lacks
        QCOMPARE(t.s().Chyby, 4);
        // Delete and Ctrl combinations type no character: not a keystroke, not an error.
        for (int key : {127, 1, 26, 0, 31}) {
            t.w().Form_KeyPress(key);
        }
        QCOMPARE(t.s().Chyby, 4);
        QCOMPARE(t.s().Uhozy, 1);

        t.type(QStringLiteral("š"));
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("aš"));
        // The return arrow stands right after the last character.
        QCOMPARE(t.f().lblEnter.fore, kWhite);
        QCOMPARE(t.f().lblEnter.geometry.left, 360);
        t.w().Form_KeyPress(8); // past the end even Backspace is an error
        t.type(QStringLiteral("x"));
        QCOMPARE(t.s().Chyby, 6);

        // Closed with errors: the same line again, both attempts counted.
        t.w().Form_KeyPress(kEnter);
        QCOMPARE(t.s().Radky, 1);
        QCOMPARE(t.s().Uhozy, 3);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("aš"));
        QCOMPARE(t.f().lblEnter.fore, kBlack);
        QCOMPARE(t.f().lblEnter.geometry.left, 7320);
        QCOMPARE(t.f().shpKurzor.geometry.left, 120);
        QVERIFY(!t.s().ChybaVRadku);
        t.typeLine(QStringLiteral("aš"));
        QCOMPARE(t.s().Radky, 2);
        QCOMPARE(t.s().Napsano, QStringLiteral("aš\r\naš"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("x"));
        QCOMPARE(t.f().lblChybyNaRadek.text, QStringLiteral("3")); // 6 errors in 2 lines
    }

    void emptyLineTakesOnlyEnter() {
        Tutor t;
        t.folder.exercises[1] = {"a", "", "b"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("a"));
        QCOMPARE(t.f().lblZadani.text, QString());
        // The mark shows at column 1 with the first key on the empty line.
        t.type(QStringLiteral(" "));
        QCOMPARE(t.s().Chyby, 1);
        QCOMPARE(t.f().lblEnter.geometry.left, 120);
        QCOMPARE(t.f().lblEnter.fore, kWhite);
        t.w().Form_KeyPress(kEnter); // had an error: again
        t.w().Form_KeyPress(kEnter);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("b"));
        QCOMPARE(t.s().Napsano, QStringLiteral("a\r\n\r\n"));
    }

    void keysAreNotCheckedBeforeALessonNorWhilePaused() {
        Tutor t;
        t.type(QStringLiteral("abc"));
        t.w().Form_KeyPress(kEnter);
        QCOMPARE(t.s().Chyby + t.s().Uhozy + t.s().Radky, 0);
        QVERIFY(!t.s().Spusteno);
        // The Enter mark still follows the (empty) line: column 1.
        QCOMPARE(t.f().lblEnter.geometry.left, 120);

        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        t.w().mnuPause_Click();
        t.type(QStringLiteral("b"));
        QCOMPARE(t.s().Uhozy, 1);
        QCOMPARE(t.s().Chyby, 0);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
    }

    void keystrokesPerMinuteRule_data() {
        QTest::addColumn<int>("keystrokes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("perMinute");
        QTest::newRow("45 at 30 s") << 45 << 30 << 90;
        QTest::newRow("half to even, down") << 1 << 24 << 2;
        QTest::newRow("half to even, up") << 1 << 40 << 2; // 1.5
        QTest::newRow("uneven") << 100 << 7 << 857;        // 857.14
        QTest::newRow("held at the top") << 1000000 << 1 << 32767;
    }

    void keystrokesPerMinuteRule() {
        QFETCH(int, keystrokes);
        QFETCH(int, seconds);
        QFETCH(int, perMinute);
        QCOMPARE(int(keystrokesPerMinute(keystrokes, seconds)), perMinute);
    }

    void errorsPerLineRule_data() {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("lines");
        QTest::addColumn<float>("value");
        QTest::newRow("1 in 4") << 1 << 4 << 0.3F;
        QTest::newRow("1 in 3") << 1 << 3 << 0.3F;
        QTest::newRow("2 in 3") << 2 << 3 << 0.7F;
        QTest::newRow("4 in 3") << 4 << 3 << 1.3F;
        QTest::newRow("4 in 2") << 4 << 2 << 2.0F;
        QTest::newRow("none") << 0 << 5 << 0.0F;
    }

    void errorsPerLineRule() {
        QFETCH(int, errors);
        QFETCH(int, lines);
        QFETCH(float, value);
        QCOMPARE(errorsPerLine(errors, lines), value);
    }

    void keystrokesPerMinuteFollowsTheLessonClock() {
        Tutor t;
        t.folder.exercises[1] = {"abcdef", "x"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("abc"));
        // The clock has not ticked yet: the counter keeps its value.
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("0"));
        t.clock->advance(2000);
        QCOMPARE(t.s().TimeP, 2);
        QCOMPARE(t.f().lblTimeP.text, QStringLiteral("0:00:02"));
        t.type(QStringLiteral("d"));
        QCOMPARE(t.f().lblUhozyVMin.text, QStringLiteral("120")); // 4 in 2 s
    }

    void messageLinesPauseForThreeSeconds() {
        Tutor t;
        t.folder.exercises[1] = {"a", ">>>Uvolni ruce", "b", "c"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("a"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Uvolni ruce"));
        QVERIFY(t.s().Pauza);
        QCOMPARE(t.f().lblPause.fore, kRed);
        QVERIFY(!t.f().mnuStop.enabled);
        QVERIFY(!t.f().tmrTimeP.enabled());
        const int time = t.s().TimeP;
        t.type(QStringLiteral("b")); // not checked during the message
        QCOMPARE(t.s().Chyby, 0);
        t.clock->advance(2999);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Uvolni ruce"));
        QCOMPARE(t.s().TimeP, time);
        t.clock->advance(1);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("b"));
        QVERIFY(!t.s().Pauza);
        QVERIFY(t.f().mnuStop.enabled);
        QVERIFY(!t.f().tmrText.enabled());
        QVERIFY(t.f().tmrTimeP.enabled());
    }

    void lessonEndsAtTheNextHeaderOrTheEndOfTheFile() {
        Tutor t;
        t.folder.exercises[1] = {"a", "b"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("a"));
        t.typeLine(QStringLiteral("b")); // next line is "LEKCE 02": not shown
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
        QCOMPARE(t.platform.messages[0].text, QStringLiteral("Chceš smazat statistiku?"));
        QCOMPARE(t.platform.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(t.f().lblZadani.text, QString());
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("KONEC LEKCE"));

        // The end of the file ends the lesson on its last line, which is never shown.
        t.folder.writeText(QStringLiteral("cz01.dat"), {"LEKCE 01", "a", "never shown"});
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("a"));
        QCOMPARE(t.platform.messages.size(), std::size_t{2});
        QVERIFY(!t.s().Spusteno);
    }

    void skippingCountsNothing() {
        Tutor t;
        t.folder.exercises[1] = {"ab", "cd", ">>>Zpráva", "ef", "gh"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("ax"));
        QVERIFY(t.s().ChybaVRadku);
        t.w().imgDalsi_Click();
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("cd"));
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, 120);
        QCOMPARE(t.s().Uhozy, 1);
        QCOMPARE(t.s().Chyby, 1);
        QCOMPARE(t.s().Radky, 0);
        // The skipped line's error does not make the next clean line come back.
        t.typeLine(QStringLiteral("cd"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Zpráva"));
        QVERIFY(t.s().Pauza);
        // Skipping during a message shows the following line at once; the message's end
        // then brings the one after and resumes.
        t.w().imgDalsi_Click();
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("ef"));
        t.clock->advance(3000);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("gh"));
        QVERIFY(!t.s().Pauza);
    }

    void pauseToggleHasFourCases() {
        Tutor t;
        t.w().mnuPause_Click(); // nothing to pause right after start-up
        QVERIFY(t.s().Pauza);
        QCOMPARE(t.f().lblPause.fore, kWhite);

        t.w().mnuLekce_Click(1);
        t.w().mnuPause_Click(); // ready but not begun: cannot be paused
        QVERIFY(!t.s().Pauza);

        t.w().imgMetronom_Click();
        t.type(QStringLiteral("a"));
        t.w().lblPause_Click();
        QVERIFY(t.s().Pauza);
        QCOMPARE(t.f().lblPause.fore, kRed);
        QVERIFY(!t.f().tmrMetronom.enabled());
        t.clock->advance(5000);
        QCOMPARE(t.s().TimeP, 0);
        t.w().mnuPause_Click();
        QVERIFY(!t.s().Pauza);
        QCOMPARE(t.f().lblPause.fore, kWhite);
        QVERIFY(t.f().tmrMetronom.enabled());

        // A running demonstration pauses and resumes its own timer too.
        t.w().mnuStop_Click();
        t.w().mnuLekce_Click(1);
        t.w().mnuDemo_Click();
        t.w().mnuPause_Click();
        QVERIFY(t.s().Pauza && !t.f().tmrMetronom.enabled());
        QCOMPARE(t.f().lblPause.fore, kRed);
        t.w().mnuPause_Click();
        QVERIFY(!t.s().Pauza && t.f().tmrMetronom.enabled());
        QCOMPARE(t.f().lblPause.fore, kWhite);
    }

    void stopAsksAndClearsOnYes() {
        Tutor t;
        t.w().mnuLekce_Click(6);
        t.type(QStringLiteral("ab x"));
        t.clock->advance(3000);
        t.platform.answers = {MessageResult::Yes};
        t.w().mnuStop_Click();
        QCOMPARE(t.s().Uhozy + t.s().Chyby + t.s().TimeP, 0);
        for (Control* c : {&t.f().lblUhozy, &t.f().lblChyby, &t.f().lblRadky, &t.f().lblUhozyVMin,
                           &t.f().lblChybyNaRadek}) {
            QCOMPARE(c->text, QStringLiteral("0"));
        }
        QCOMPARE(t.f().lblTimeP.text, QStringLiteral("0:00:00"));
        QVERIFY(!t.f().imgDalsi.visible);
        for (const auto& [code, label] : t.f().lblKlavesa) {
            QCOMPARE(label.back, kWhite);
        }
    }

    void countersAddUpOverLessonsUntilCleared() {
        Tutor t;
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("ab 1"));
        t.clock->advance(2000);
        t.w().mnuStop_Click(); // answers No
        QCOMPARE(t.s().Uhozy, 5);
        QCOMPARE(t.s().TimeP, 2);
        // After the lesson has ended, typing is ignored until a lesson is chosen.
        t.type(QStringLiteral("zz"));
        QCOMPARE(t.s().Chyby, 0);
        QVERIFY(!t.s().Spusteno);

        t.w().mnuLekce_Click(2);
        t.typeLine(QStringLiteral("ab 2"));
        QCOMPARE(t.s().Uhozy, 10);
        QCOMPARE(t.s().Radky, 2);
        QCOMPARE(t.f().lblUhozy.text, QStringLiteral("10"));
        QCOMPARE(t.s().Napsano, QStringLiteral("ab 1\r\nab 2"));
    }

    void timeSpentAnsweringIsNotLessonTime() {
        Tutor t;
        t.w().mnuLekce_Click(1);
        t.w().imgMetronom_Click();
        t.type(QStringLiteral("a"));
        t.clock->advance(1000);
        t.platform.whileModal = [&t] { t.clock->advance(10000); };
        t.w().mnuStop_Click();
        QCOMPARE(t.s().TimeP, 1);
        QVERIFY(!t.f().tmrMetronom.enabled());
    }

    void messageEndAfterTheLessonEndedDoesNothing() {
        Tutor t;
        t.folder.exercises[1] = {"a", ">>>Pozor", "b"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("a"));
        QVERIFY(t.f().tmrText.enabled());
        t.w().imgDalsi_Click(); // "b"
        t.w().imgDalsi_Click(); // "LEKCE 02" ends the lesson
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
        t.clock->advance(3000);
        QCOMPARE(t.f().lblZadani.text, QString());
        QVERIFY(!t.f().mnuStop.enabled);
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
    }

    void anEndedLessonLeavesNoArrowAndNoDemonstration() {
        Tutor t;
        t.folder.exercises[1] = {"ab", "cd"};
        t.folder.exercises[2] = {"ef"};
        t.rewrite();
        // A key before any lesson shows the arrow on the empty row; the lesson start hides it.
        t.type(QStringLiteral("x"));
        QCOMPARE(t.f().lblEnter.fore, kWhite);
        t.w().mnuLekce_Click(1);
        QCOMPARE(t.f().lblEnter.fore, kBlack);
        QCOMPARE(t.f().lblEnter.geometry.left, 7320);
        // Stopped before the first key: no demonstration is offered for the ended lesson.
        QVERIFY(t.f().mnuDemo.enabled);
        t.w().mnuStop_Click();
        QVERIFY(!t.f().mnuDemo.enabled);

        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("ab"));
        QCOMPARE(t.f().lblEnter.fore, kWhite);
        t.w().mnuStop_Click();
        QCOMPARE(t.f().lblEnter.fore, kBlack);
        QCOMPARE(t.f().lblEnter.geometry.left, 7320);
        // The demonstration cannot start now, so it is not offered.
        QVERIFY(!t.f().mnuDemo.enabled);
        t.w().mnuDemo_Click();
        QCOMPARE(t.platform.demoDialogs, 0);
        // Keys after the end do not bring the arrow back over the emptied row.
        t.type(QStringLiteral("x"));
        QCOMPARE(t.f().lblEnter.fore, kBlack);

        t.w().mnuLekce_Click(2);
        QCOMPARE(t.f().lblEnter.fore, kBlack);
        QCOMPARE(t.f().lblEnter.geometry.left, 7320);
        QVERIFY(t.f().mnuDemo.enabled);
        // Run to the end of the lesson's lines: the end is a Stop too.
        t.typeLine(QStringLiteral("ef"));
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("KONEC LEKCE"));
        QVERIFY(!t.f().mnuDemo.enabled);
    }

    void errorInAStoppedLineDoesNotFollowIntoTheNextLesson() {
        Tutor t;
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("x"));
        t.w().mnuStop_Click();
        t.w().mnuLekce_Click(2);
        t.typeLine(QStringLiteral("ab 2"));
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("cd"));
    }
};

QTEST_GUILESS_MAIN(TestLessonFlow)
#include "test_lesson_flow.moc"
