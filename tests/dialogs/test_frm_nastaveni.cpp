#include "app/texts.h"
#include "dialogs/frm_nastaveni.h"
#include "support/files.h"
#include "support/tutor.h"

#include <QFile>
#include <QTest>

using namespace tipora;

namespace {

// The learner turns the key beep off, the error beep on and the lit keys off, then leaves with
// the button given.
void flipChecksAndPress(FrmNastaveni& dialog, void (FrmNastaveni::*button)()) {
    dialog.chkPipKlavesa.value = 0;
    dialog.chkPipChyba.value = 1;
    dialog.chkOdezvaKlaves.value = 0;
    (dialog.*button)();
}

void typeInto(FrmNastaveni& dialog, const QString& digits) {
    for (QChar c : digits) {
        dialog.txtMetronom.text += c;
        dialog.txtMetronom_KeyUp(48 + c.digitValue());
    }
}

} // namespace

class TestFrmNastaveni : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheSettingsInForce() {
        test::Tutor t(" 120  1  0  1 \r\n");
        FrmNastaveni dialog(t.shared, t.platform, t.folder.filePath(QStringLiteral("tipora.ini")));
        dialog.Form_Load();
        QVERIFY(t.platform.messages.empty());
        QCOMPARE(dialog.txtMetronom.text, QStringLiteral("120"));
        QCOMPARE(dialog.vsbMetronom.value, 120);
        QCOMPARE(int(dialog.NovyMetronom), 120);
        QCOMPARE(dialog.chkPipKlavesa.value, 1);
        QCOMPARE(dialog.chkPipChyba.value, 0);
        QCOMPARE(dialog.chkOdezvaKlaves.value, 1);
        QCOMPARE(dialog.window.mousePointer, MousePointer::Default);
        QCOMPARE(dialog.window.title, QStringLiteral("Nastavení"));
    }

    void unusableSettingsAreReportedOnce_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("checked");
        QTest::newRow("no settings") << QByteArray() << "" << 0;
        QTest::newRow("tempo out of range") << QByteArray("2000 1 1 1") << "2000" << 0;
        QTest::newRow("option out of range") << QByteArray("120 1 1 5") << "120" << 0;
        QTest::newRow("greyed is fine") << QByteArray("120 2 2 2") << "120" << 2;
    }

    void unusableSettingsAreReportedOnce() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, box);
        QFETCH(int, checked);
        test::Tutor t(ini);
        t.platform.messages.clear(); // the start-up's own report
        FrmNastaveni dialog(t.shared, t.platform, t.folder.filePath(QStringLiteral("tipora.ini")));
        dialog.Form_Load();
        const bool fine = checked == 2;
        QCOMPARE(t.platform.messages.size(), std::size_t(fine ? 0 : 1));
        if (!fine) {
            QCOMPARE(t.platform.messages[0].text,
                     QStringLiteral("Chybí nastavovací soubor tipora.ini"));
        }
        QCOMPARE(dialog.txtMetronom.text, box);
        QCOMPARE(dialog.chkPipKlavesa.value, checked);
        QCOMPARE(dialog.chkOdezvaKlaves.value, checked);
    }

    void typedTempoFollowsTheBoxRules() {
        test::Tutor t(" 100  0  0  0 \r\n");
        FrmNastaveni dialog(t.shared, t.platform, t.folder.filePath(QStringLiteral("tipora.ini")));
        dialog.Form_Load();
        dialog.txtMetronom.text.clear();
        typeInto(dialog, QStringLiteral("1001"));
        QCOMPARE(dialog.txtMetronom.text, QString());
        QCOMPARE(int(dialog.NovyMetronom), 100);
        QCOMPARE(dialog.vsbMetronom.value, 100);
        typeInto(dialog, QStringLiteral("0"));
        QCOMPARE(dialog.txtMetronom.text, QString());
        typeInto(dialog, QStringLiteral("60"));
        QCOMPARE(int(dialog.NovyMetronom), 60);
        dialog.txtMetronom_KeyUp(8); // Backspace empties the box, the tempo stays
        QCOMPARE(dialog.txtMetronom.text, QString());
        QCOMPARE(int(dialog.NovyMetronom), 60);
        dialog.setScrollValue(1000);
        QCOMPARE(dialog.txtMetronom.text, QStringLiteral("1000"));
    }

    void cancelLeavesEverythingAndOkAppliesAtOnce() {
        test::Tutor t(" 120  1  0  1 \r\n");
        t.platform.settingsDialog = [](FrmNastaveni& dialog) {
            dialog.setScrollValue(60);
            flipChecksAndPress(dialog, &FrmNastaveni::cmdZrus_Click);
        };
        t.w().mnuNastaveni_Click();
        QCOMPARE(t.shared.Metronom.value(), 120);
        QCOMPARE(t.shared.PipKlavesa.value(), 1);
        QCOMPARE(t.shared.PipChyba.value(), 0);
        QCOMPARE(t.shared.OdezvaKlaves.value(), 1);

        t.platform.settingsDialog = [](FrmNastaveni& dialog) {
            flipChecksAndPress(dialog, &FrmNastaveni::cmdOK_Click);
        };
        t.w().mnuNastaveni_Click();
        QCOMPARE(t.shared.PipKlavesa.value(), 0);
        QCOMPARE(t.shared.OdezvaKlaves.value(), 0);
        // The new values count for the very next keys: an error beeps once, nothing lights.
        t.w().mnuLekce_Click(1);
        t.platform.beeps = 0;
        t.type(QStringLiteral("x"));
        QCOMPARE(t.platform.beeps, 1);
        t.w().Form_KeyDown('A');
        QCOMPARE(t.f().klavesa('A')->back, kWhite);
    }

    void saveWritesTheFileButChangesNothingNow() {
        test::Tutor t(" 120  1  0  1 \r\n");
        const QString path = t.folder.filePath(QStringLiteral("tipora.ini"));
        t.platform.settingsDialog = [](FrmNastaveni& dialog) {
            dialog.setScrollValue(250);
            dialog.chkPipChyba.value = 1;
            dialog.chkOdezvaKlaves.value = 0;
            dialog.cmdSave_Click();
            QVERIFY(!dialog.closed()); // saving leaves the dialog open
            dialog.cmdZrus_Click();
        };
        t.w().mnuNastaveni_Click();
        QCOMPARE(test::readAll(path), QByteArray(" 250  0  1  1 \r\n"));
        QCOMPARE(t.shared.Metronom.value(), 120);
        QCOMPARE(t.shared.PipChyba.value(), 0);
        // The next start reads what was saved.
        Promenne next;
        test::FakePlatform platform;
        FrmTipora again(next, platform, QDir(t.folder.path()));
        again.Form_Load();
        QCOMPARE(next.Metronom.value(), 250);
        QCOMPARE(next.OdezvaKlaves.value(), 0);
    }

    void noTempoNeverBecomesZero() {
        test::Tutor t; // a file without a tempo
        t.folder.remove(QStringLiteral("tipora.ini"));
        t.shared.Metronom.reset();
        t.platform.settingsDialog = [](FrmNastaveni& dialog) {
            dialog.cmdSave_Click();
            dialog.cmdOK_Click();
        };
        t.w().mnuNastaveni_Click();
        QCOMPARE(t.shared.Metronom.value(), kMetronomeDefaultTempo);
        QCOMPARE(test::readAll(t.folder.filePath(QStringLiteral("tipora.ini"))),
                 QByteArray(" 100  0  0  0 \r\n"));
    }

    void failedSaveIsReportedAndTheDialogStays() {
        test::Tutor t(" 120  1  0  1 \r\n");
        FrmNastaveni dialog(t.shared, t.platform, t.folder.filePath(QStringLiteral("no/such/dir")));
        dialog.Form_Load();
        dialog.cmdSave_Click();
        QCOMPARE(t.platform.messages.size(), std::size_t{1});
        QCOMPARE(t.platform.messages[0].text, texts::kSettingsNotSaved);
        QVERIFY(!dialog.closed());
    }

    void runningLessonIsPausedAroundTheDialog() {
        test::Tutor t(" 120  1  0  1 \r\n");
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        bool pausedInside = false;
        t.platform.settingsDialog = [&](FrmNastaveni& dialog) {
            pausedInside = t.s().Pauza && !t.f().tmrTimeP.enabled();
            dialog.cmdOK_Click();
        };
        t.w().mnuNastaveni_Click();
        QVERIFY(pausedInside);
        QVERIFY(!t.s().Pauza && t.f().tmrTimeP.enabled());
    }

    void learnersPauseSurvivesTheDialog() {
        test::Tutor t(" 120  1  0  1 \r\n");
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        t.clock->advance(1000);
        t.w().mnuPause_Click();
        t.platform.settingsDialog = [&t](FrmNastaveni& dialog) {
            t.clock->advance(5000); // the learner takes a while
            dialog.cmdZrus_Click();
        };
        t.w().mnuNastaveni_Click();
        QVERIFY(t.s().Pauza);
        QCOMPARE(t.s().TimeP, 1);
        QCOMPARE(t.f().lblPause.fore, kRed);
    }
};

QTEST_GUILESS_MAIN(TestFrmNastaveni)
#include "test_frm_nastaveni.moc"
