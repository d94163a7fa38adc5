#include "support/tutor.h"

#include <QTest>

using namespace tipora;

class TestMetronome : public QObject {
    Q_OBJECT

private slots:
    void tempoSetsTheBeat_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("interval");
        QTest::newRow("1000") << QByteArray("1000 0 0 0") << 60;
        QTest::newRow("300") << QByteArray("300 0 0 0") << 200;
        QTest::newRow("120") << QByteArray("120 0 0 0") << 500;
        QTest::newRow("7") << QByteArray("7 0 0 0") << 8571;
        QTest::newRow("1") << QByteArray("1 0 0 0") << 60000;
        // No usable tempo: the default beat rather than a division by zero.
        QTest::newRow("0") << QByteArray("0 0 0 0") << 600;
        QTest::newRow("no settings") << QByteArray() << 600;
        QTest::newRow("hand-edited, too fast") << QByteArray("99999 0 0 0") << 60;
    }

    void tempoSetsTheBeat() {
        QFETCH(QByteArray, ini);
        QFETCH(int, interval);
        test::Tutor t(ini);
        t.w().mnuLekce_Click(1);
        t.w().imgMetronom_Click();
        QVERIFY(t.s().MetronomZapnut);
        QCOMPARE(t.f().tmrMetronom.interval(), interval);
        t.platform.beeps = 0;
        t.clock->advance(interval * 3);
        QCOMPARE(t.platform.beeps, 3);
    }

    void switchWorksOnlyWhileNotPaused() {
        test::Tutor t("120 0 0 0");
        t.w().imgMetronom_Click(); // paused since start-up
        QVERIFY(!t.s().MetronomZapnut && !t.f().tmrMetronom.enabled());
        t.w().mnuLekce_Click(1);
        t.w().imgMetronom_Click();
        QVERIFY(t.s().MetronomZapnut && t.f().tmrMetronom.enabled());
        t.w().imgMetronom_Click();
        QVERIFY(!t.s().MetronomZapnut && !t.f().tmrMetronom.enabled());
        t.w().imgMetronom_Click();
        t.type(QStringLiteral("a"));
        t.w().mnuPause_Click();
        t.w().imgMetronom_Click(); // paused: nothing changes
        QVERIFY(t.s().MetronomZapnut);
    }

    void beatFollowsPauseDemonstrationAndStop() {
        test::Tutor t("120 0 0 0");
        t.w().mnuLekce_Click(1);
        t.w().imgMetronom_Click();
        t.type(QStringLiteral("a"));
        t.w().mnuPause_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
        t.w().mnuPause_Click();
        QVERIFY(t.f().tmrMetronom.enabled());
        QCOMPARE(t.f().tmrMetronom.interval(), 500);

        t.w().mnuStop_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
        QVERIFY(t.s().MetronomZapnut);
        // The next lesson brings the beat back, as the loudspeaker still says it is on.
        t.w().mnuLekce_Click(2);
        QVERIFY(t.f().tmrMetronom.enabled());

        t.w().mnuStop_Click();
        t.w().mnuLekce_Click(3);
        t.f().tmrMetronom.setEnabled(false);
        t.w().mnuDemo_Click();
        QVERIFY(t.f().tmrMetronom.enabled());
        t.w().mnuPause_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
        t.w().mnuPause_Click();
        QVERIFY(t.f().tmrMetronom.enabled());
        t.w().mnuStop_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
    }

    // The sound card is kept ready for exactly the moments a beep can come, and the beat's
    // stream follows the metronome's timer, restarting with it.
    void soundPlanFollowsThePractice() {
        test::Tutor t("120 0 0 1");
        QCOMPARE(t.w().soundPlan(), SoundPlan{});
        t.w().mnuLekce_Click(1);
        QVERIFY(t.w().soundPlan().beepsSoon);
        QCOMPARE(t.w().soundPlan().beatMilliseconds, 0);

        t.w().imgMetronom_Click();
        const SoundPlan beating = t.w().soundPlan();
        QCOMPARE(beating.beatMilliseconds, 500);
        t.clock->advance(1000);
        QCOMPARE(t.platform.beats, 2);

        t.type(QStringLiteral("a"));
        t.w().mnuPause_Click();
        QCOMPARE(t.w().soundPlan(), SoundPlan{});
        t.w().mnuPause_Click();
        const SoundPlan resumed = t.w().soundPlan();
        QVERIFY(resumed.beepsSoon);
        QCOMPARE(resumed.beatMilliseconds, 500);
        QVERIFY(resumed.beatRestarts != beating.beatRestarts);

        t.w().mnuStop_Click();
        QCOMPARE(t.w().soundPlan(), SoundPlan{});

        // The demonstration beeps with the key beep, and the metronome comes back with it.
        t.w().mnuLekce_Click(2);
        t.w().mnuStop_Click();
        t.w().mnuLekce_Click(3);
        t.w().mnuDemo_Click();
        QVERIFY(t.s().Ukazka);
        QVERIFY(t.w().soundPlan().beepsSoon);
        QCOMPARE(t.w().soundPlan().beatMilliseconds, 500);
    }

    void nothingToBeepWithBothBeepsOff() {
        test::Tutor t("120 0 0 0");
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        QVERIFY(!t.w().soundPlan().beepsSoon);
        t.w().imgMetronom_Click();
        QCOMPARE(t.w().soundPlan().beatMilliseconds, 500);
        QVERIFY(!t.w().soundPlan().beepsSoon);
    }

    void lessonStartLeavesASwitchedOffMetronomeSilent() {
        test::Tutor t("120 0 0 0");
        t.w().mnuLekce_Click(1);
        QVERIFY(!t.f().tmrMetronom.enabled());
        t.w().mnuDemo_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
    }
};

QTEST_GUILESS_MAIN(TestMetronome)
#include "test_metronome.moc"
