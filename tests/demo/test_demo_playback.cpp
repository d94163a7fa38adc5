#include "ground/key_table.h"
#include "support/tutor.h"

#include <QTest>

using namespace tipora;

namespace {

// Starts a demonstration of a lesson at a speed typed into the dialog.
void startDemo(test::Tutor& t, int lesson, int speed) {
    t.platform.demoDialog = [speed](FrmDemo& dialog) { dialog.setScrollValue(speed); };
    t.w().mnuLekce_Click(lesson);
    t.w().mnuDemo_Click();
}

} // namespace

class TestDemoPlayback : public QObject {
    Q_OBJECT

private slots:
    void speedSetsTheStepInterval_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("interval");
        QTest::newRow("300") << 300 << 200;
        QTest::newRow("120") << 120 << 500;
        QTest::newRow("7") << 7 << 8571;
        QTest::newRow("1") << 1 << 60000;
    }

    void speedSetsTheStepInterval() {
        QFETCH(int, speed);
        QFETCH(int, interval);
        test::Tutor t;
        startDemo(t, 1, speed);
        QCOMPARE(t.f().tmrDemo.interval(), interval);
        QVERIFY(t.f().tmrDemo.enabled());
        QCOMPARE(t.f().lblUhozyVMin.text, QString::number(speed));
        // The first character comes one full interval after the start.
        t.clock->advance(interval - 1);
        QCOMPARE(t.f().txtVstup.text, QString());
        t.clock->advance(1);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
    }

    void startShowsTheDemonstrationsOwnCounters() {
        test::Tutor t;
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("xxx"));
        t.clock->advance(42000);
        t.w().mnuStop_Click();
        QCOMPARE(t.s().Chyby, 3);
        startDemo(t, 1, 120);
        QCOMPARE(t.platform.demoDialogs, 1);
        QVERIFY(t.s().Ukazka && !t.s().Pauza);
        QCOMPARE(t.s().TimeP, 0);
        // The learner's figures wait for the demonstration's end.
        QCOMPARE(t.w().session().statistics().seconds(), 42);
        QCOMPARE(t.w().session().statistics().errors(), 3);
        QCOMPARE(t.f().lblChyby.text, QStringLiteral("0"));
        QCOMPARE(t.f().lblTimeP.text, QStringLiteral("0:00:00"));
        QVERIFY(!t.f().imgDalsi.visible && !t.f().imgVysunNahled.visible);
    }

    void linesTakeOneStepMoreThanTheirCharacters() {
        test::Tutor t;
        t.folder.exercises[1] = {"aA1", "", "+Čň*", "x"};
        t.rewrite();
        startDemo(t, 1, 300);
        const QList<int> keys{65, 65, 49};
        for (int i = 0; i < 3; ++i) {
            t.clock->advance(200);
            QCOMPARE(int(t.s().KlavesaUkazky), keys[i]);
            QCOMPARE(t.f().shpKurzor.geometry.left, 120 * (i + 2));
        }
        QCOMPARE(t.f().lblUhozy.text, QStringLiteral("3"));
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("aA1"));
        t.clock->advance(200); // the fourth step brings the empty line
        QCOMPARE(t.f().lblZadani.text, QString());
        QCOMPARE(t.f().lblRadky.text, QStringLiteral("1"));
        QCOMPARE(t.f().txtVstup.text, QString());
        QCOMPARE(t.f().shpKurzor.geometry.left, 120);
        t.clock->advance(200); // one step for the empty line
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("+Čň*"));
        QCOMPARE(t.f().lblRadky.text, QStringLiteral("2"));
        for (int expected : {49, 16, 16, 16}) {
            t.clock->advance(200);
            QCOMPARE(int(t.s().KlavesaUkazky), expected);
        }
        // The learner's own statistics were never touched.
        QCOMPARE(t.s().Uhozy + t.s().Radky, 0);
        QVERIFY(t.s().Napsano.isEmpty());
        QCOMPARE(t.f().lblEnter.fore, kBlack);
    }

    void typedKeyFlashesBlackThenGetsItsColourBack() {
        test::Tutor t; // visual response off: the demonstration lights keys all the same
        t.folder.exercises[1] = {"fa", "x"};
        t.rewrite();
        startDemo(t, 1, 300);
        t.clock->advance(200);
        QCOMPARE(t.f().klavesa('F')->back, kBlack);
        QCOMPARE(t.f().klavesa('F')->fore, kWhite);
        t.clock->advance(10);
        QCOMPARE(t.f().klavesa('F')->back, kRed);
        QCOMPARE(t.f().klavesa('F')->fore, kBlack);
        QVERIFY(!t.f().tmrDemoClick.enabled());
        t.clock->advance(190);
        QCOMPARE(t.f().klavesa('A')->back, kBlack);
        t.clock->advance(10);
        QCOMPARE(t.f().klavesa('A')->back, kWhite);
    }

    void messageLineHoldsThreeSeconds() {
        test::Tutor t;
        t.folder.exercises[1] = {"a", ">>>Zpráva", "b", "c"};
        t.rewrite();
        startDemo(t, 1, 300);
        t.clock->advance(400); // "a", then the message
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Zpráva"));
        QVERIFY(t.s().Pauza && !t.f().mnuStop.enabled && !t.f().tmrDemo.enabled());
        QCOMPARE(t.f().lblPause.fore, kRed);
        const int time = t.s().TimeP;
        t.clock->advance(2999);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("Zpráva"));
        t.clock->advance(1);
        QCOMPARE(t.f().lblZadani.text, QStringLiteral("b"));
        QVERIFY(!t.s().Pauza && t.f().mnuStop.enabled && t.f().tmrDemo.enabled());
        QCOMPARE(t.s().TimeP, time);
        t.clock->advance(200);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("b"));
    }

    void endOfTheLessonStopsAndRestoresTheLearnersCounters() {
        test::Tutor t;
        t.folder.exercises[1] = {"ab", "c"};
        t.rewrite();
        t.w().mnuLekce_Click(3);
        t.typeLine(QStringLiteral("ab 3")); // the learner's own work: 5 keystrokes, 1 line
        t.clock->advance(4000);
        t.w().mnuStop_Click();
        startDemo(t, 1, 300);
        t.clock->advance(200 * 6); // a, b, next line, c, then the header of lesson 2
        QVERIFY(!t.s().Ukazka && !t.s().Spusteno);
        QCOMPARE(t.platform.messages.back().text, QStringLiteral("Chceš smazat statistiku?"));
        QCOMPARE(t.f().lblUhozy.text, QStringLiteral("5"));
        QCOMPARE(t.f().lblRadky.text, QStringLiteral("1"));
        QCOMPARE(t.s().TimeP, 4);
        QCOMPARE(t.f().lblTimeP.text, QStringLiteral("0:00:04"));
        QVERIFY(t.f().imgVysunNahled.visible && !t.f().tmrDemo.enabled());
        for (const auto& [code, label] : t.f().lblKlavesa) {
            QCOMPARE(label.back, kWhite);
        }
    }

    void lastLineOfAFileIsTypedToo() {
        test::Tutor t;
        t.folder.writeText(QStringLiteral("cz10.dat"), {"LEKCE 50", "ab", "cd"});
        startDemo(t, 50, 300);
        t.clock->advance(200 * 5);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("cd"));
        QVERIFY(t.s().Ukazka);
        t.clock->advance(200);
        QVERIFY(!t.s().Ukazka);
    }

    void beepsOncePerCharacterAndPerLine() {
        test::Tutor t(" 100  0  0  1 \r\n");
        t.folder.exercises[1] = {"abc", "d"};
        t.rewrite();
        startDemo(t, 1, 300);
        t.clock->advance(200 * 4);
        QCOMPARE(t.platform.beeps, 4);
    }

    void learnersKeysAreNotCheckedDuringADemonstration() {
        test::Tutor t;
        startDemo(t, 1, 300);
        t.type(QStringLiteral("xyz"));
        t.w().Form_KeyPress(13);
        QCOMPARE(t.s().Chyby + t.s().Uhozy, 0);
        QVERIFY(!t.s().Spusteno);
        t.clock->advance(200);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        QCOMPARE(t.s().Pozice, 2);
    }

    void pauseStopsAndResumesWhereItWas() {
        test::Tutor t;
        startDemo(t, 1, 300);
        t.clock->advance(200);
        t.w().mnuPause_Click();
        t.clock->advance(5000);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        t.w().lblPause_Click();
        t.clock->advance(200);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("ab"));
    }

    void lessonThatFailedToLoadOffersNoDemonstration() {
        test::Tutor t;
        t.folder.remove(QStringLiteral("cz01.dat"));
        t.w().mnuLekce_Click(1);
        QVERIFY(!t.f().mnuDemo.enabled);
        t.w().mnuDemo_Click();
        QCOMPARE(t.platform.demoDialogs, 0);
        QVERIFY(!t.s().Ukazka);
    }
};

QTEST_GUILESS_MAIN(TestDemoPlayback)
#include "test_demo_playback.moc"
