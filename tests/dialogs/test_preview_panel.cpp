#include "support/tutor.h"

#include <QTest>

using namespace tipora;

class TestPreviewPanel : public QObject {
    Q_OBJECT

private slots:
    void panelShowsTheTranscriptAndTheCurrentLine() {
        test::Tutor t;
        t.folder.exercises[1] = {"ab", "cd", "ef", "gh"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        t.w().imgVysunNahled_Click();
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a")); // one row
        QCOMPARE(t.f().txtVstup.geometry.height, 2190);
        QVERIFY(!t.f().imgVysunNahled.visible && t.f().imgZasunNahled.visible);
        t.w().imgZasunNahled_Click();
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        QCOMPARE(t.f().txtVstup.geometry.height, 255);
        QVERIFY(t.f().imgVysunNahled.visible && !t.f().imgZasunNahled.visible);

        t.typeLine(QStringLiteral("b"));
        t.typeLine(QStringLiteral("cd"));
        t.type(QStringLiteral("e"));
        t.w().imgVysunNahled_Click();
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("ab\r\ncd\r\ne")); // three rows
        t.w().imgZasunNahled_Click();
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("e"));
    }

    void slidingOutPausesARunningLessonAndInResumesIt() {
        test::Tutor t;
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        t.w().imgVysunNahled_Click();
        QVERIFY(t.s().Pauza && !t.f().tmrTimeP.enabled());
        QCOMPARE(t.f().lblPause.fore, kRed);
        t.type(QStringLiteral("b")); // typing waits until the panel is back
        QCOMPARE(t.s().Uhozy, 1);
        QCOMPARE(t.f().txtVstup.text, QStringLiteral("a"));
        t.w().imgZasunNahled_Click();
        QVERIFY(!t.s().Pauza && t.f().tmrTimeP.enabled());
        QCOMPARE(t.f().lblPause.fore, kWhite);
        t.type(QStringLiteral("b"));
        QCOMPARE(t.s().Uhozy, 2);
    }

    void pausedLessonStaysPausedAndTheMetronomeComesBack() {
        test::Tutor t("120 0 0 0");
        t.w().mnuLekce_Click(1);
        t.w().imgMetronom_Click();
        t.type(QStringLiteral("a"));
        t.w().mnuPause_Click();
        t.w().imgVysunNahled_Click();
        QVERIFY(!t.f().tmrMetronom.enabled());
        t.w().imgZasunNahled_Click();
        QVERIFY(t.s().Pauza);
        QVERIFY(!t.f().tmrTimeP.enabled());
        QVERIFY(t.f().tmrMetronom.enabled()); // even though the lesson stays paused
    }

    void noPauseBeforeTheFirstKey() {
        test::Tutor t;
        t.w().mnuLekce_Click(1);
        t.w().imgVysunNahled_Click();
        QVERIFY(!t.s().Pauza);
        QCOMPARE(t.f().lblPause.fore, kWhite);
        t.w().imgZasunNahled_Click();
        QVERIFY(!t.s().Pauza);
    }

    void hintsFollowThePointer() {
        test::Tutor t;
        FrmTiporaForm& f = t.f();
        t.w().imgVysunNahled_MouseMove();
        QVERIFY(f.lblNapoveda001.visible);
        t.w().imgDalsi_MouseMove(); // the same place: "další řádek" replaces "vysuň náhled"
        QVERIFY(f.lblNapoveda004.visible && !f.lblNapoveda001.visible);
        t.w().imgMetronom_MouseMove();
        t.w().imgZasunNahled_MouseMove();
        QVERIFY(f.lblNapoveda003.visible && f.lblNapoveda002.visible && f.lblNapoveda004.visible);
        t.w().lblKlavesa_MouseMove(); // the keys hide all but the metronom hint
        QVERIFY(!f.lblNapoveda002.visible && !f.lblNapoveda004.visible);
        QVERIFY(f.lblNapoveda003.visible);
        t.w().lblNapoveda_MouseMove(f.lblNapoveda003);
        QVERIFY(!f.lblNapoveda003.visible);
        t.w().imgMetronom_MouseMove();
        t.w().imgVysunNahled_MouseMove();
        t.w().Form_MouseMove();
        for (Control* hint :
             {&f.lblNapoveda001, &f.lblNapoveda002, &f.lblNapoveda003, &f.lblNapoveda004}) {
            QVERIFY(!hint->visible);
        }
        QCOMPARE(f.lblNapoveda001.text, QStringLiteral("vysuň náhled"));
        QCOMPARE(f.lblNapoveda002.text, QStringLiteral("zasuň náhled"));
        QCOMPARE(f.lblNapoveda004.text, QStringLiteral("další řádek"));
    }

    void aboutBoxOpensFromTheMenu() {
        test::Tutor t;
        t.w().mnuOProgramu_Click();
        QCOMPARE(t.platform.aboutBoxes, 1);
    }
};

QTEST_GUILESS_MAIN(TestPreviewPanel)
#include "test_preview_panel.moc"
