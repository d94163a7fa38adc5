#include "app/texts.h"
#include "support/fake_platform.h"
#include "support/tutor.h"
#include "support/virtual_clock.h"
#include "window/frm_tipora.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tipora;

namespace {

// A main window over a temporary data folder, loaded with the given keyboard type.
struct Fixture {
    explicit Fixture(const QByteArray* ini = nullptr, int keyboardType = 1) {
        if (ini != nullptr) {
            QFile file(dir.filePath(QStringLiteral("tipora.ini")));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(*ini);
            }
        }
        shared.TypKlavesnice = keyboardType;
        window = std::make_unique<FrmTipora>(shared, platform, QDir(dir.path()));
    }

    QTemporaryDir dir;
    Promenne shared;
    test::FakePlatform platform;
    std::unique_ptr<FrmTipora> window;
};

const QByteArray kValidIni(" 120  1  0  1 \r\n");

} // namespace

class TestFrmTipora : public QObject {
    Q_OBJECT

private slots:
    void createdState() {
        Promenne shared;
        test::FakePlatform platform;
        FrmTipora w(shared, platform);
        FrmTiporaForm& f = w.form;
        QCOMPARE(f.window.title, QStringLiteral("Tipora 1.5"));
        QCOMPARE(f.controls().size(), std::size_t{30 + 51});

        // Only these menu items can be chosen before a lesson.
        QVERIFY(f.mnuLekce.enabled && f.mnuNastaveni.enabled && f.mnuExit.enabled &&
                f.mnuOProgramu.enabled);
        QVERIFY(!f.mnuStop.enabled && !f.mnuPause.enabled && !f.mnuDemo.enabled);
        QCOMPARE(f.mnuNastaveni.name, QStringLiteral("mnuNastavení"));

        for (Control* c : {&f.imgDalsi, &f.imgZasunNahled, &f.lblNapoveda001, &f.lblNapoveda002,
                           &f.lblNapoveda003, &f.lblNapoveda004}) {
            QVERIFY2(!c->visible, qPrintable(c->name));
        }
        int visible = 0;
        for (Control* c : f.controls()) {
            visible += c->visible ? 1 : 0;
        }
        QCOMPARE(visible, 30 + 51 - 6);

        // Only the time-of-day clock runs.
        QCOMPARE(w.timerHandlers().size(), std::size_t{6});
        for (const auto& [t, handler] : w.timerHandlers()) {
            QCOMPARE(t->enabled(), t == &f.tmrTime);
            // A beat or a demonstrated keystroke that drifts is heard; the clocks may be coarse.
            QCOMPARE(t->precise(), t == &f.tmrMetronom || t == &f.tmrDemo || t == &f.tmrDemoClick);
            // The time of day turns its second with the desktop's clock.
            QCOMPARE(t->followsWallClock(), t == &f.tmrTime);
        }
        QCOMPARE(f.tmrTime.interval(), 500);
        QCOMPARE(f.tmrText.interval(), 3000);

        for (Control* c :
             {&f.lblChyby, &f.lblChybyNaRadek, &f.lblRadky, &f.lblUhozy, &f.lblUhozyVMin}) {
            QCOMPARE(c->text, QStringLiteral("0"));
            QCOMPARE(c->align, Align::Right);
        }
        QCOMPARE(f.lblZadani.text, QString());
        QCOMPARE(f.lblZadani.back, kBlue);
        // The return arrow is there but black on black.
        QCOMPARE(f.lblEnter.back, kBlack);
        QCOMPARE(f.lblEnter.fore, kBlack);
        QCOMPARE(f.lblCiselnik.text.size(), 60);
        QVERIFY(f.lblCiselnik.text.endsWith(QStringLiteral("55···60")));
    }

    void menuHoldsTheFiftyLessonsInSixSubmenus() {
        Promenne shared;
        test::FakePlatform platform;
        FrmTipora w(shared, platform);
        QCOMPARE(w.form.mnuLekce.caption, QStringLiteral("Lekce"));
        QCOMPARE(w.form.lessonSubmenus[0].caption, QStringLiteral("Střední písmenná řada"));
        QCOMPARE(w.form.lessonSubmenus[5].name, QStringLiteral("mnuZZC"));
        QCOMPARE(w.form.menuItem(u"mnuLekce01")->caption, QStringLiteral("f j d k"));
        QCOMPARE(w.form.menuItem(u"mnuLekce50")->caption, QStringLiteral("° % § "));
        QCOMPARE(w.form.menuItem(u"mnuLekce48")->caption, QStringLiteral("? ! : ; \" ( ) /"));
        QCOMPARE(w.form.menuItem(u"mnuExit")->caption, QStringLiteral("Exit"));
        QVERIFY(w.form.menuItem(u"mnuLekce51") == nullptr);
    }

    void loadGivesInitialValuesAndReadsTheSettings() {
        Fixture fx(&kValidIni);
        FrmTipora& w = *fx.window;
        w.Form_Load();

        QVERIFY(fx.platform.messages.empty());
        QCOMPARE(fx.shared.Metronom.value(), 120);
        QCOMPARE(fx.shared.OdezvaKlaves.value(), 1);
        QVERIFY(fx.shared.PipChyba.isSet());
        QCOMPARE(fx.shared.PipChyba.value(), 0);
        QCOMPARE(fx.shared.PipKlavesa.value(), 1);

        const test::Observed s = test::observe(w);
        QVERIFY(s.Pauza);
        QVERIFY(!s.Spusteno && !s.Ukazka && !s.ChybaVRadku && !s.CapsLock && !s.MetronomZapnut &&
                !s.PauzaPredNahledem);
        QVERIFY(s.LekceNactena);
        QCOMPARE(s.Pozice, 1);
        QCOMPARE(s.Chyby + s.Radky + s.Uhozy + s.UhozyVMin + s.TimeP, 0);
        QCOMPARE(s.KlavesaUkazky, std::int16_t{1});
        QVERIFY(s.Napsano.isEmpty());

        QCOMPARE(w.form.lblTimeP.text, QStringLiteral("0:00:00"));
        QCOMPARE(w.form.lblZadani.text, QString());
        QCOMPARE(w.form.window.mousePointer, MousePointer::Default);
    }

    void loadCentresTheWindow() {
        Fixture fx(&kValidIni);
        fx.window->form.window.width = 8000;
        fx.window->form.window.height = 7501;
        fx.window->Form_Load();
        QCOMPARE(fx.window->form.window.left, (19200 - 8000) / 2);
        QCOMPARE(fx.window->form.window.top, qRound((15360 - 7501) / 2.0));
    }

    void keyboardTypeDecidesWhereYandZStand_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<Geometry>("y");
        QTest::addColumn<Geometry>("z");
        QTest::newRow("česká") << 1 << Geometry{1320, 5400, 495, 495}
                               << Geometry{3360, 4440, 495, 495};
        QTest::newRow("QWERTY") << 2 << Geometry{3360, 4440, 495, 495}
                                << Geometry{1320, 5400, 495, 495};
        QTest::newRow("unset") << 0 << Geometry{1320, 5400, 495, 495}
                               << Geometry{3360, 4440, 495, 495};
    }

    void keyboardTypeDecidesWhereYandZStand() {
        QFETCH(int, type);
        QFETCH(Geometry, y);
        QFETCH(Geometry, z);
        Fixture fx(&kValidIni, type);
        if (type == 0) {
            fx.shared.TypKlavesnice.reset();
        }
        fx.window->Form_Load();
        QCOMPARE(fx.window->form.klavesa(89)->geometry, y);
        QCOMPARE(fx.window->form.klavesa(90)->geometry, z);
        QCOMPARE(fx.window->form.klavesa(84)->geometry.left, 2880); // "t" stays
    }

    void missingSettingsFileIsReportedOnceAndTheWindowRunsOn() {
        Fixture fx;
        fx.window->Form_Load();
        QCOMPARE(fx.platform.messages.size(), std::size_t{1});
        QCOMPARE(fx.platform.messages[0].text,
                 QStringLiteral("Chybí nastavovací soubor tipora.ini"));
        QCOMPARE(fx.platform.messages[0].title, QStringLiteral("Tipora 1.0"));
        QCOMPARE(fx.platform.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(fx.window->form.lblZadani.text, QStringLiteral("Error"));
        QCOMPARE(fx.window->form.window.mousePointer, MousePointer::Default);
        // Unset settings act as off and as no tempo.
        QVERIFY(!fx.shared.Metronom.isSet());
        QVERIFY(!(fx.shared.OdezvaKlaves == 1));
        QVERIFY(fx.shared.PipKlavesa == 0);
        QVERIFY(fx.window->session().paused());
    }

    void shortSettingsFileKeepsTheFieldsRead() {
        const QByteArray three(" 90  1  1 \r\n");
        Fixture fx(&three);
        fx.window->Form_Load();
        QCOMPARE(fx.platform.messages.size(), std::size_t{1});
        QCOMPARE(fx.window->form.lblZadani.text, QStringLiteral("Error"));
        QCOMPARE(fx.shared.Metronom.value(), 90);
        QCOMPARE(fx.shared.PipChyba.value(), 1);
        QVERIFY(!fx.shared.PipKlavesa.isSet());
    }

    void clockShowsTheTimeOfDayWithinHalfASecond() {
        Fixture fx(&kValidIni);
        fx.window->Form_Load();
        test::VirtualClock clock(fx.window->timerHandlers());
        fx.platform.time = QTime(14, 3, 9);
        clock.advance(499);
        QCOMPARE(fx.window->form.lblTime.text, QString());
        clock.advance(1);
        QCOMPARE(fx.window->form.lblTime.text, QStringLiteral("14:03:09"));
        fx.platform.time = QTime(14, 3, 10);
        clock.advance(500);
        QCOMPARE(fx.window->form.lblTime.text, QStringLiteral("14:03:10"));
    }

    void clearingStatisticsResetsCountersOnly() {
        test::Tutor t;
        t.folder.exercises[1] = {"fff jjj", "ddd kkk", "fjdk"};
        t.rewrite();
        t.w().mnuLekce_Click(1);
        t.typeLine(QStringLiteral("fff jjj"));
        t.type(QStringLiteral("dx"));
        t.clock->advance(3000);
        QCOMPARE(t.s().Chyby, 1);
        QCOMPARE(t.f().lblUhozy.text, QStringLiteral("9"));

        t.w().MazaniPromennych();

        const test::Observed s = t.s();
        QCOMPARE(s.Chyby + s.Radky + s.Uhozy + s.UhozyVMin + s.TimeP, 0);
        QCOMPARE(s.ChybyNaRadek, 0.0F);
        for (Control* c : {&t.f().lblChyby, &t.f().lblChybyNaRadek, &t.f().lblRadky,
                           &t.f().lblUhozy, &t.f().lblUhozyVMin}) {
            QCOMPARE(c->text, QStringLiteral("0"));
        }
        QCOMPARE(t.f().lblTimeP.text, QStringLiteral("0:00:00"));
        // The line, the column in it, the transcript and the run go on.
        QCOMPARE(s.Zadani, QStringLiteral("ddd kkk"));
        QCOMPARE(s.Pozice, 2);
        QVERIFY(s.ChybaVRadku);
        QCOMPARE(s.Napsano, QStringLiteral("fff jjj"));
        QVERIFY(s.Spusteno && !s.Pauza);
    }

    void exitEndsTheProgram() {
        Fixture fx(&kValidIni);
        fx.window->Form_Load();
        fx.window->mnuExit_Click();
        QCOMPARE(fx.platform.quits, 1);
    }
};

QTEST_GUILESS_MAIN(TestFrmTipora)
#include "test_frm_tipora.moc"
