// The real window on a real X server with the Czech layout, typed at through XTEST. Run by
// with_xvfb.sh; skipped where there is no X server or no xdotool.
#include "keyboard/frm_klavesnice.h"
#include "support/lesson_folder.h"
#include "support/observed.h"
#include "ui/keyboard_type_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "window/frm_tipora.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

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
        showFocused(window);
        window.menuBar()->findChild<QAction*>(QStringLiteral("mnuLekce47"))->trigger();
        QCOMPARE(model.form.lblZadani.text, QStringLiteral("ňÓ ž"));

        // ň: Shift with the dead key gives ˇ, then n; Ó: the dead key, then Shift and o.
        xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"),
                 QStringLiteral("dead_caron"), QStringLiteral("n"), QStringLiteral("dead_acute"),
                 QStringLiteral("shift+o"), QStringLiteral("space"), QStringLiteral("zcaron")});
        QTRY_COMPARE(model.form.txtVstup.text, QStringLiteral("ňÓ ž"));
        QCOMPARE(test::observe(model).Chyby, 0);
        QCOMPARE(test::observe(model).Uhozy, 4);
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
        QTRY_VERIFY(test::observe(model).Pauza);
        QCOMPARE(model.form.lblPause.fore, kRed);
    }

    void keyboardTypeDialogFromTheKeyboard_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("type");
        QTest::newRow("Enter at once") << QStringList{"Return"} << 1;
        QTest::newRow("Down, Enter") << QStringList{"Down", "Return"} << 2;
        QTest::newRow("Down, Up, Enter") << QStringList{"Down", "Up", "Return"} << 1;
        QTest::newRow("Tab, Space, Enter") << QStringList{"Tab", "space", "Return"} << 2;
        QTest::newRow("Tab, Enter") << QStringList{"Tab", "Return"} << 2;
        QTest::newRow("Tab, Tab, Space") << QStringList{"Tab", "Tab", "space"} << 2;
    }

    void keyboardTypeDialogFromTheKeyboard() {
        QFETCH(QStringList, keys);
        QFETCH(int, type);
        Promenne shared;
        ui::QtPlatform platform;
        FrmKlavesnice model(shared, platform);
        ui::KeyboardTypeDialog dialog(model);
        showFocused(dialog);
        QTRY_COMPARE(QApplication::focusWidget(),
                     dialog.findChild<QRadioButton*>(QStringLiteral("OptCZ")));
        xdotool(
            QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
            keys);
        QTRY_VERIFY(model.accepted());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(shared.TypKlavesnice.value(), type);
    }

    void keyboardTypeDialogYieldsToTheCloseCommand() {
        Promenne shared;
        ui::QtPlatform platform;
        FrmKlavesnice model(shared, platform);
        ui::KeyboardTypeDialog dialog(model);
        showFocused(dialog);
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")}); // not a close
        QTest::qWait(200);
        QVERIFY(dialog.isVisible());
        // On a bare X server a single request is now and then not acted on (about one run in
        // four, cause not found); as with a window manager's close, it is asked again.
        for (int tries = 0; tries < 10 && dialog.isVisible(); ++tries) {
            askToClose(dialog.winId());
            if (QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 1000)) {
                break;
            }
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.accepted());
        QVERIFY(!shared.TypKlavesnice.isSet());
    }

    // The program itself: closing its first window ends it before any main window.
    void closingTheFirstWindowEndsTheProgram() {
        QProcess tipora;
        tipora.start(QStringLiteral(TIPORA_EXECUTABLE));
        QVERIFY(tipora.waitForStarted());
        QProcess search;
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--sync"),
                      QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                      QString::number(tipora.processId())});
        QVERIFY(search.waitForFinished(10000));
        const QStringList windows =
            QString::fromLatin1(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(windows.size(), 1);
        QProcess name;
        name.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), windows[0]});
        QVERIFY(name.waitForFinished());
        QCOMPARE(QString::fromUtf8(name.readAllStandardOutput()).trimmed(),
                 QStringLiteral("Tipora 1.5"));
        QTest::qWait(300); // past the start-up, so the request meets a running dialog
        for (int tries = 0; tries < 10 && tipora.state() != QProcess::NotRunning; ++tries) {
            askToClose(windows[0].toULong());
            tipora.waitForFinished(1000);
        }
        QCOMPARE(tipora.state(), QProcess::NotRunning);
        QCOMPARE(tipora.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tipora.exitCode(), 0);
    }

private:
    static void xdotool(const QStringList& arguments) {
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
    }

    static void showFocused(QWidget& window) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                 QString::number(window.winId())});
        QTRY_VERIFY(window.isActiveWindow());
    }

    // What a window manager sends for its close command: WM_DELETE_WINDOW as a WM_PROTOCOLS
    // client message, from a connection of its own.
    static void askToClose(WId window) {
        const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
            xcb_connect(nullptr, nullptr), xcb_disconnect);
        QVERIFY(!xcb_connection_has_error(connection.get()));
        const auto atom = [&connection](const char* name) {
            const std::unique_ptr<xcb_intern_atom_reply_t, void (*)(void*)> reply(
                xcb_intern_atom_reply(
                    connection.get(),
                    xcb_intern_atom(connection.get(), 0, uint16_t(std::strlen(name)), name),
                    nullptr),
                std::free);
            return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        };
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = xcb_window_t(window);
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        QVERIFY(message.type != XCB_ATOM_NONE && message.data.data32[0] != XCB_ATOM_NONE);
        xcb_send_event(connection.get(), 0, xcb_window_t(window), XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        QVERIFY(xcb_flush(connection.get()) > 0);
    }

    test::LessonFolder folder_;
    bool qwerty_ = false;
};

QTEST_MAIN(TestRealKeyboard)
#include "test_real_keyboard.moc"
