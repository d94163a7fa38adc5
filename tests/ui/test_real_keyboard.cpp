// The real window on a real X server with the Czech layout, typed at through XTEST. Run by
// with_xvfb.sh; skipped where there is no X server or no xdotool.
#include "app/frm_tipora.h"
#include "support/lesson_folder.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace tipora;

class TestRealKeyboard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb") ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            QSKIP("needs an X server and xdotool");
        }
        folder_.writeIni(" 100  1  0  0 \r\n");
        folder_.exercises[47] = {"ňÓ ž", "dál"};
        folder_.writeCourse();
        QVERIFY(QDir::setCurrent(folder_.path()));
        qwerty_ = qEnvironmentVariable("TIPORA_TEST_LAYOUT") == QLatin1String("cz qwerty");
    }

    void typingOnTheCzechLayout() {
        Promenne shared;
        shared.TypKlavesnice = qwerty_ ? 2 : 1;
        ui::QtPlatform platform;
        FrmTipora model(shared, platform);
        ui::MainWindow window(model, platform);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                 QString::number(window.winId())});
        QTRY_VERIFY(window.isActiveWindow());
        window.menuBar()->findChild<QAction*>(QStringLiteral("mnuLekce47"))->trigger();
        QCOMPARE(model.form.lblZadani.text, QStringLiteral("ňÓ ž"));

        // ň: Shift with the dead key gives ˇ, then n; Ó: the dead key, then Shift and o.
        xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"),
                 QStringLiteral("dead_caron"), QStringLiteral("n"), QStringLiteral("dead_acute"),
                 QStringLiteral("shift+o"), QStringLiteral("space"), QStringLiteral("zcaron")});
        QTRY_COMPARE(model.form.txtVstup.text, QStringLiteral("ňÓ ž"));
        QCOMPARE(model.state.Chyby, 0);
        QCOMPARE(model.state.Uhozy, 4);
        QCOMPARE(model.form.lblUhozy.text, QStringLiteral("4"));

        // A held key is lit until it is released.
        xdotool({QStringLiteral("keydown"), QStringLiteral("f")});
        QTRY_COMPARE(model.form.klavesa('F')->back, kBlack);
        xdotool({QStringLiteral("keyup"), QStringLiteral("f")});
        QTRY_COMPARE(model.form.klavesa('F')->back, kGreen);

        // The layout decides which letter a place types: "y" is lit wherever it stands.
        xdotool({QStringLiteral("keydown"), QStringLiteral("y")});
        QTRY_COMPARE(model.form.klavesa('Y')->back, kBlack);
        xdotool({QStringLiteral("keyup"), QStringLiteral("y")});
        QTRY_VERIFY(model.form.klavesa('Y')->back != kBlack);
        QCOMPARE(model.form.klavesa('Y')->geometry.top, qwerty_ ? 4440 : 5400);

        // Shift shows the number row's signs while it is held.
        xdotool({QStringLiteral("keydown"), QStringLiteral("Shift_L")});
        QTRY_COMPARE(model.form.klavesa(50)->text, QStringLiteral("2"));
        xdotool({QStringLiteral("keyup"), QStringLiteral("Shift_L")});
        QTRY_COMPARE(model.form.klavesa(50)->text, QStringLiteral("ě"));

        xdotool({QStringLiteral("key"), QStringLiteral("Pause")});
        QTRY_VERIFY(model.state.Pauza);
        QCOMPARE(model.form.lblPause.fore, kRed);
    }

private:
    static void xdotool(const QStringList& arguments) {
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
    }

    test::LessonFolder folder_;
    bool qwerty_ = false;
};

QTEST_MAIN(TestRealKeyboard)
#include "test_real_keyboard.moc"
