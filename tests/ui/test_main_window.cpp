#include "app/display_rules.h"
#include "dialogs/frm_nastaveni.h"
#include "dialogs/frm_oprogramu.h"
#include "exam/exam_session.h"
#include "keyboard/frm_klavesnice.h"
#include "support/demo_speed.h"
#include "support/fake_platform.h"
#include "support/lesson_folder.h"
#include "support/observed.h"
#include "ui/about_box.h"
#include "ui/demo_speed_dialog.h"
#include "ui/exam_window.h"
#include "ui/fonts.h"
#include "ui/key_codes.h"
#include "ui/keyboard_type_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/settings_dialog.h"
#include "window/frm_tipora.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QDialog>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

using namespace tipora;

namespace {

// The colour a label is drawn in, away from its caption (which stands at its top left).
QColor drawnBackground(QWidget* widget) {
    return widget->grab().toImage().pixelColor(widget->width() - 3, widget->height() - 3);
}

// The program's main window as the learner gets it, loaded from the current folder.
struct Window {
    explicit Window(int keyboardType = 0) {
        if (keyboardType != 0) {
            shared.TypKlavesnice = keyboardType;
        }
    }

    void load(KeySource keys = ui::platformKeySource()) {
        window.setKeySource(keys);
        window.load();
    }

    bool show() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    bool loadAndShow() {
        load();
        return show();
    }

    // A control on the drawn form, by its name there.
    template <class T> T* on(const char* name) const {
        return window.surface()->findChild<T*>(QLatin1String(name));
    }

    Promenne shared;
    ui::QtPlatform platform;
    FrmTipora model{shared, platform};
    ui::MainWindow window{model, platform};
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The window runs in a folder with a course and settings, as the program does.
        folder_.exercises[1] = {"aš b", "next"};
        folder_.writeCourse();
        QVERIFY(QDir::setCurrent(folder_.path()));
    }

    void everyControlStandsAtItsTwipGeometry() {
        Window w(2);
        w.load();
        auto& model = w.model;
        auto& window = w.window;

        QCOMPARE(window.surface()->size(), QSize(521, 436));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tipora 1.5"));
        int checked = 0;
        for (Control* c : model.form.controls()) {
            auto* w = window.surface()->findChild<QWidget*>(c->fullName());
            QVERIFY2(w != nullptr, qPrintable(c->fullName()));
            const Geometry& g = c->geometry;
            if (c->kind == ControlKind::Line) {
                QCOMPARE(w->x(), g.left / 15);
                QCOMPARE(w->width(), g.width / 15);
                QVERIFY(qAbs(w->y() - g.top / 15) <= 1);
            } else {
                QCOMPARE(w->geometry(), QRect(qRound(g.left / 15.0), qRound(g.top / 15.0),
                                              qRound(g.width / 15.0), qRound(g.height / 15.0)));
            }
            QCOMPARE(w->isVisibleTo(window.surface()), c->visible);
            ++checked;
        }
        QCOMPARE(checked, 81);
        // QWERTY: the "y" label stands in the upper row.
        QCOMPARE(w.on<QWidget>("lblKlavesa(89)")->pos(), QPoint(224, 296));
        auto* keyA = w.on<QLabel>("lblKlavesa(65)");
        QCOMPARE(keyA->text(), QStringLiteral("a"));
        QCOMPARE(drawnBackground(keyA), QColor(Qt::white));
    }

    void timeOfDayIsWhollyReadableInEveryLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cs_CZ") << "cs_CZ"
                               << "5:27:06";
        QTest::newRow("C") << "C"
                           << "05:27:06";
        QTest::newRow("en_US") << "en_US"
                               << "5:27:06 AM";
    }

    void timeOfDayIsWhollyReadableInEveryLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        // The model asks its platform for the locale; the window is the program's own.
        test::FakePlatform desktop;
        desktop.localeInUse = QLocale(locale);
        desktop.time = QTime(5, 27, 6);
        Promenne shared;
        ui::QtPlatform platform;
        FrmTipora model(shared, desktop);
        ui::MainWindow window(model, platform);
        window.load();
        model.tmrTime_Timer();
        // A long practice widens the lesson time too.
        model.form.lblTimeP.text = lessonTimeText(400 * 3600, desktop.localeInUse);
        window.refresh();
        auto* time = window.surface()->findChild<QLabel*>(QStringLiteral("lblTime"));
        auto* lessonTime = window.surface()->findChild<QLabel*>(QStringLiteral("lblTimeP"));
        QCOMPARE(time->text(), shown);
        for (QLabel* label : {time, lessonTime}) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                         label->contentsRect().width(),
                     qPrintable(label->text()));
            // Grown or not, the right edge stays where the window was designed to have it.
            const Control& control = label == time ? model.form.lblTime : model.form.lblTimeP;
            QCOMPARE(label->geometry().right(), ui::pixelRect(control.geometry).right());
        }
        // The Czech time fits the designed label and stays centred in it.
        if (locale == QLatin1String("cs_CZ")) {
            QCOMPARE(time->geometry(), ui::pixelRect(model.form.lblTime.geometry));
            QVERIFY(time->alignment() & Qt::AlignHCenter);
        }
        // Back to a short text, the label returns to its place.
        desktop.localeInUse = QLocale(QStringLiteral("cs_CZ"));
        model.tmrTime_Timer();
        window.refresh();
        QCOMPARE(time->geometry(), ui::pixelRect(model.form.lblTime.geometry));
    }

    // The clock face shows the zone's time, not universal time: a zone half an hour off any
    // whole hour (a rule the C library reads without zone files) must come through.
    void clockShowsTheTimeOfTheZone() {
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", "IST-5:30");
        ui::QtPlatform platform;
        const int shown = platform.currentTime().msecsSinceStartOfDay();
        const int local = QTime::currentTime().msecsSinceStartOfDay();
        const int utc = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
        if (before.isNull()) {
            qunsetenv("TZ");
        } else {
            qputenv("TZ", before);
        }
        const auto apart = [](int a, int b) {
            constexpr int day = 24 * 3600 * 1000;
            return std::min((a - b + day) % day, (b - a + day) % day);
        };
        QVERIFY2(apart(local, utc) > 3600 * 1000, "the zone rule was not taken");
        QVERIFY(apart(shown, local) < 2000);
    }

    void messageBoxesOpenOverAnUpToDateWindow() {
        Window w;
        QVERIFY(w.loadAndShow());
        auto& model = w.model;
        QWidget* surface = w.window.surface();
        const auto action = [&w](const char* name) {
            return w.window.menuBar()->findChild<QAction*>(QLatin1String(name));
        };
        const auto labelText = [surface](const char* name) {
            return surface->findChild<QLabel*>(QLatin1String(name))->text();
        };
        const auto boxText = [surface](const char* name) {
            return surface->findChild<QTextEdit*>(QLatin1String(name))->toPlainText();
        };
        // What the learner sees at the moment the next modal window opens, and its answer.
        const auto whenModalOpens = [](std::function<void(QWidget*)> look) {
            QTimer::singleShot(0, [look] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    look(modal);
                }
            });
        };

        action("mnuLekce01")->trigger();
        QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&w.window, &a);
        QCOMPARE(test::observe(model).Uhozy, 1);
        QStringList seen;
        QMessageBox::Icon icon = QMessageBox::Warning;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            icon = box->icon();
            seen << boxText("txtPopisLekce") << labelText("lblZadani") << boxText("txtVstup");
            box->button(QMessageBox::No)->click();
        });
        action("mnuStop")->trigger();
        QCOMPARE(seen, QStringList({QStringLiteral("KONEC LEKCE"), QString(), QString()}));
        QCOMPARE(icon, QMessageBox::NoIcon);

        // After a demonstration the learner's own counters are back before the question, and
        // the window's commands wait until it is answered.
        action("mnuLekce01")->trigger();
        whenModalOpens([](QWidget* speed) { QTest::keyClick(speed, Qt::Key_Return); });
        action("mnuDemo")->trigger();
        QVERIFY(test::observe(model).Ukazka);
        QCOMPARE(labelText("lblUhozy"), QStringLiteral("0"));
        seen.clear();
        bool pausedUnderTheBox = true;
        whenModalOpens([&](QWidget* modal) {
            seen << labelText("lblUhozy") << boxText("txtPopisLekce");
            // A screen reader can still press a menu item of the window behind the box.
            action("mnuPause")->trigger();
            pausedUnderTheBox = test::observe(model).Pauza;
            qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
        });
        action("mnuStop")->trigger();
        QCOMPARE(seen, QStringList({QStringLiteral("1"), QStringLiteral("KONEC LEKCE")}));
        QVERIFY(!pausedUnderTheBox);
        QVERIFY(!model.form.tmrDemo.enabled());

        // A failure message shows its text, title and OK, and no icon either.
        icon = QMessageBox::Warning;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(w.platform.messageBox(QStringLiteral("Chybí"), QStringLiteral("Tipora 1.0"),
                                       MessageButtons::Ok),
                 MessageResult::Ok);
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    // Only the program writes the two text boxes; typing belongs to the window.
    void textBoxesAreReadOnlyAndNeverTheFocus() {
        Window w;
        w.load();
        for (const char* name : {"txtVstup", "txtPopisLekce"}) {
            auto* box = w.window.surface()->findChild<QTextEdit*>(QLatin1String(name));
            QVERIFY2(box->isReadOnly(), name);
            QCOMPARE(box->focusPolicy(), Qt::NoFocus);
        }
    }

    void fiveDescriptionLinesFitWithoutScrolling() {
        Window w;
        QVERIFY(w.loadAndShow());
        auto& model = w.model;
        auto& window = w.window;
        model.form.txtPopisLekce.text =
            QStringLiteral("Vítej! Začínáš v základní řadě, nové klávesy jsou f, j, d, k.\r\n"
                           "Na f a j nahmatáš výstupky – tam patří tvé ukazováky.\r\nf\r\nd\r\n"
                           "Seď zpříma, ramena uvolni a mezerník tiskni palcem.");
        window.refresh();
        auto* box = w.on<QTextEdit>("txtPopisLekce");
        QVERIFY(!box->verticalScrollBar()->isVisible());
    }

    // The window redraws only what changed: colours set and set back, text added to a text box,
    // cut short or replaced, must each still reach the screen.
    void everyChangeOfTheModelIsDrawn() {
        Window w;
        QVERIFY(w.loadAndShow());
        auto& form = w.model.form;
        const auto refresh = [&w] { w.window.refresh(); };

        Control& key = *form.klavesa('F');
        auto* keyLabel = w.on<QLabel>("lblKlavesa(70)");
        const QColor white = drawnBackground(keyLabel);
        key.back = kGreen;
        refresh();
        QCOMPARE(drawnBackground(keyLabel), QColor(Qt::green));
        key.back = kWhite;
        refresh();
        QCOMPARE(drawnBackground(keyLabel), white);
        // The frame stays black whatever the key's colours.
        key.fore = kRed;
        refresh();
        QCOMPARE(keyLabel->grab().toImage().pixelColor(0, keyLabel->height() / 2),
                 QColor(Qt::black));
        QCOMPARE(keyLabel->palette().color(QPalette::WindowText), QColor(Qt::red));
        auto* cursor = w.on<QWidget>("shpKurzor");
        form.shpKurzor.back = kYellow;
        refresh();
        QCOMPARE(drawnBackground(cursor), QColor(Qt::yellow));

        // The pointer follows the model both ways.
        form.window.mousePointer = MousePointer::Hourglass;
        refresh();
        QCOMPARE(w.window.cursor().shape(), Qt::WaitCursor);
        refresh();
        QCOMPARE(w.window.cursor().shape(), Qt::WaitCursor);
        form.window.mousePointer = MousePointer::Default;
        refresh();
        QCOMPARE(w.window.cursor().shape(), Qt::ArrowCursor);

        auto* box = w.on<QTextEdit>("txtVstup");
        QString& text = form.txtVstup.text;
        const auto lineHeights = [box] {
            QList<qreal> heights;
            for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
                heights << b.blockFormat().lineHeight();
            }
            return heights;
        };
        const QList<QString> steps{QStringLiteral("f"),
                                   QStringLiteral("ff"),
                                   QStringLiteral("ff j\r\nj"),
                                   QStringLiteral("ff j\r\njjk"),
                                   QStringLiteral("ff"),
                                   QStringLiteral("xyz"),
                                   QString(),
                                   QStringLiteral("a"),
                                   QStringLiteral("a\rb")};
        for (const QString& step : steps) {
            text = step;
            refresh();
            QString shown = step;
            shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            QCOMPARE(box->toPlainText(), shown);
            if (step.isEmpty()) {
                continue; // no line to show
            }
            // Every line, however it came, keeps the box's fixed line height.
            const QList<qreal> heights = lineHeights();
            QCOMPARE(heights.count(heights.first()), heights.size());
            QVERIFY(heights.first() > 0);
        }
    }

    void megabyteLinesAreDrawnOnlyInPart() {
        Window w;
        QVERIFY(w.loadAndShow());
        const QString megabyte(1024 * 1024, QLatin1Char('m'));
        w.model.form.txtPopisLekce.text = megabyte;
        w.model.form.lblZadani.text = megabyte;
        w.model.form.txtVstup.text = megabyte + QStringLiteral("\r\nlast");
        w.window.refresh();
        const QString row = w.on<QLabel>("lblZadani")->text();
        QCOMPARE(row.size(), kMaxShownLineLength);
        const QString description = w.on<QTextEdit>("txtPopisLekce")->toPlainText();
        QCOMPARE(description.size(), kMaxShownLineLength);
        // The input line doubles as the transcript: its latest whole lines are the ones kept.
        QCOMPARE(w.on<QTextEdit>("txtVstup")->toPlainText(), QStringLiteral("last"));
    }

    void exerciseColumnsAreExactly120Twips() {
        const QFont font = ui::fontFor({FontFace::Mono, 9.75, false});
        const QFontMetricsF metrics(font);
        QCOMPARE(metrics.horizontalAdvance(QString(60, QLatin1Char('m'))), 480.0);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("ěščřžýáíé ůú")),
                 metrics.horizontalAdvance(QStringLiteral("abcdefghijkl")));
    }

    void menusAndTheirEnabledState() {
        Window w;
        w.load();
        auto& model = w.model;
        auto& window = w.window;

        auto* lekce = window.menuBar()->findChild<QMenu*>(QStringLiteral("mnuLekce"));
        QVERIFY(lekce != nullptr);
        // Six submenus, then a separator, the weak-key drill and a text of one's own.
        const QList<QAction*> items = lekce->actions();
        QCOMPARE(items.size(), 9);
        QVERIFY(items[6]->isSeparator());
        QCOMPARE(items[7]->text(), QStringLiteral("Procvičit slabé klávesy"));
        QCOMPARE(items[8]->text(), QStringLiteral("Vlastní text…"));
        int lessons = 0;
        for (QAction* submenu : items.first(6)) {
            lessons += static_cast<int>(submenu->menu()->actions().size());
        }
        QCOMPARE(lessons, 50);
        auto* dpr = lekce->findChild<QMenu*>(QStringLiteral("mnuDPR"));
        QCOMPARE(dpr->actions().first()->objectName(), QStringLiteral("mnuLekce17"));
        QCOMPARE(dpr->actions().first()->text(), QStringLiteral("v"));

        QStringList top;
        for (QAction* action : window.menuBar()->actions()) {
            top << action->text() + (action->isEnabled() ? QString() : QStringLiteral("(off)"));
        }
        QCOMPARE(top, (QStringList{"Lekce", "Stop(off)", "Pauza(off)", "Ukázka(off)", "Nastavení",
                                   "Výsledky", "Zkouška", "Exit", "O Programu"}));

        // Handlers change the model; the window follows it on the next refresh.
        model.form.mnuStop.enabled = true;
        model.form.lblZadani.text = QStringLiteral("fff jjj");
        window.refresh();
        QVERIFY(window.menuBar()->findChild<QAction*>(QStringLiteral("mnuStop"))->isEnabled());
        QCOMPARE(w.on<QLabel>("lblZadani")->text(), QStringLiteral("fff jjj"));
    }

    void keyboardTypeDialogTakesEnter() {
        Promenne shared;
        test::FakePlatform platform;
        FrmKlavesnice model(shared, platform);
        ui::KeyboardTypeDialog dialog(model);
        QCOMPARE(dialog.size(), QSize(145, 97));
        auto* qwerty = dialog.findChild<QRadioButton*>(QStringLiteral("OptCZQ"));
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("OptCZ"))->isChecked());
        qwerty->click();
        QVERIFY(qwerty->isChecked());
        QVERIFY(!dialog.findChild<QRadioButton*>(QStringLiteral("OptCZ"))->isChecked());
        QTest::keyClick(qwerty, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.accepted());
        QTest::keyClick(qwerty, Qt::Key_Return);
        QVERIFY(model.accepted());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(shared.TypKlavesnice.value(), 2);
    }

    void typingALineMovesCountersAndCursor() {
        Window w;
        QVERIFY(w.loadAndShow());
        auto& window = w.window;

        window.menuBar()->findChild<QAction*>(QStringLiteral("mnuLekce01"))->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("Tipora 1.5 - f j d k"));
        auto* zadani = w.on<QLabel>("lblZadani");
        QCOMPARE(zadani->text(), QStringLiteral("aš b"));
        auto* keyD = w.on<QLabel>("lblKlavesa(68)");
        QCOMPARE(drawnBackground(keyD), QColor(Qt::red));

        // Key events reach the window whichever control has the focus.
        auto* input = w.on<QTextEdit>("txtVstup");
        QTest::keyClick(input, Qt::Key_A);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("š"));
        QApplication::sendEvent(input, &press);
        QTest::keyClick(&window, Qt::Key_X); // wrong
        auto* uhozy = w.on<QLabel>("lblUhozy");
        auto* chyby = w.on<QLabel>("lblChyby");
        QCOMPARE(uhozy->text(), QStringLiteral("2"));
        QCOMPARE(chyby->text(), QStringLiteral("1"));
        QCOMPARE(input->toPlainText(), QStringLiteral("aš"));
        QCOMPARE(w.on<QWidget>("shpKurzor")->x(), 24);
        // The run has begun: "Lekce" and "Ukázka" are closed to the learner.
        QVERIFY(!window.menuBar()->actions().first()->isEnabled());
        QVERIFY(!window.menuBar()->findChild<QAction*>(QStringLiteral("mnuDemo"))->isEnabled());
    }

    // Key events as X delivers them without an input method: the dead key comes as its own
    // event with no text, the letter follows uncomposed.
    void deadKeysAndLightingFromRealKeyEvents() {
        folder_.writeIni(" 100  1  0  0 \r\n"); // visual response on
        folder_.exercises[46] = {"ňÓ x", "next"};
        folder_.writeCourse();
        Window w(1);
        w.load(KeySource::X11);
        QVERIFY(w.show());
        auto& model = w.model;
        auto& window = w.window;
        window.menuBar()->findChild<QAction*>(QStringLiteral("mnuLekce46"))->trigger();

        const auto send = [&window](QEvent::Type type, int key, quint32 keycode,
                                    const QString& text, Qt::KeyboardModifiers modifiers = {}) {
            QKeyEvent event(type, key, modifiers, keycode, 0, 0, text);
            QApplication::sendEvent(&window, &event);
        };
        auto* acute = w.on<QLabel>("lblKlavesa(187)");
        // ˇ = Shift + the dead key, then n.
        send(QEvent::KeyPress, Qt::Key_Shift, 50, {});
        send(QEvent::KeyPress, Qt::Key_Dead_Caron, 21, {}, Qt::ShiftModifier);
        send(QEvent::KeyRelease, Qt::Key_Dead_Caron, 21, {}, Qt::ShiftModifier);
        send(QEvent::KeyRelease, Qt::Key_Shift, 50, {});
        QCOMPARE(test::observe(model).Uhozy, 0);
        send(QEvent::KeyPress, Qt::Key_N, 57, QStringLiteral("n"));
        QVERIFY(model.form.klavesa('N')->back == kBlack); // lit while held
        send(QEvent::KeyRelease, Qt::Key_N, 57, QStringLiteral("n"));
        QCOMPARE(model.form.klavesa('N')->back, kGreen);
        QCOMPARE(test::observe(model).Uhozy, 1);
        // ´ then Shift + o.
        send(QEvent::KeyPress, Qt::Key_Dead_Acute, 21, {});
        QCOMPARE(drawnBackground(acute), QColor(Qt::black)); // the dead key lit
        send(QEvent::KeyRelease, Qt::Key_Dead_Acute, 21, {});
        QCOMPARE(drawnBackground(acute), QColor(Qt::red));
        send(QEvent::KeyPress, Qt::Key_Shift, 62, {});
        send(QEvent::KeyPress, Qt::Key_O, 32, QStringLiteral("O"), Qt::ShiftModifier);
        send(QEvent::KeyRelease, Qt::Key_O, 32, QStringLiteral("O"), Qt::ShiftModifier);
        send(QEvent::KeyRelease, Qt::Key_Shift, 62, {});
        QCOMPARE(test::observe(model).Uhozy, 2);
        QCOMPARE(test::observe(model).Chyby, 0);
        QCOMPARE(model.form.txtVstup.text, QStringLiteral("ňÓ"));
        // An input method that composed by itself hands over only the text.
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral(" "));
        QApplication::sendEvent(&window, &composed);
        QCOMPARE(model.form.txtVstup.text, QStringLiteral("ňÓ "));
        // Auto-repeat: the held key stays lit and types again.
        send(QEvent::KeyPress, Qt::Key_X, 53, QStringLiteral("x"));
        QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_X, {}, 53, 0, 0, QStringLiteral("x"),
                                true);
        QApplication::sendEvent(&window, &repeatRelease);
        QVERIFY(model.form.klavesa('X')->back == kBlack);
        send(QEvent::KeyPress, Qt::Key_X, 53, QStringLiteral("x"));
        QCOMPARE(test::observe(model).Chyby, 1); // the repeat typed past the end
        send(QEvent::KeyRelease, Qt::Key_X, 53, QStringLiteral("x"));
        QVERIFY(model.form.klavesa('X')->back != kBlack);
    }

    void demoSpeedDialogTakesTypedDigitsAndEnter() {
        test::DemoSpeed d;
        QVERIFY(d.exposed());
        auto& dialog = d.dialog;
        QCOMPARE(dialog.size(), QSize(153, 57));
        auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtDemo"));
        auto* bar = dialog.findChild<QScrollBar*>(QStringLiteral("vsbDemo"));
        QCOMPARE(box->text(), QStringLiteral("1"));
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_2, Qt::KeypadModifier);
        QTest::keyClick(box, Qt::Key_5);
        QCOMPARE(box->text(), QStringLiteral("25"));
        QCOMPARE(bar->value(), 25);
        QCOMPARE(int(d.shared.RychlostUkazky), 25);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(box->text(), QStringLiteral("26"));
        QTest::keyClick(box, Qt::Key_Escape); // no cancelling
        QVERIFY(dialog.isVisible());
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(d.model.closed());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(int(d.shared.RychlostUkazky), 26);
    }

    void aboutBoxClosesOnATypedKeyOrAClick_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << true;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << "" << false;
        QTest::newRow("arrow") << int(Qt::Key_Left) << "" << false;
        // X11 gives Delete the text DEL; it types nothing, as on other systems.
        QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f" << false;
    }

    void aboutBoxClosesOnATypedKeyOrAClick() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, closes);
        test::FakePlatform platform;
        FrmOProgramu model(platform);
        model.Form_Load();
        ui::AboutBox box(model);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.size(), QSize(274, 170));
        auto* picture = box.findChild<QLabel*>(QStringLiteral("imgInfo"));
        QCOMPARE(picture->geometry(), QRect(8, 8, 258, 154));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&box, &press);
        QCOMPARE(model.closed(), closes);
        QCOMPARE(box.isVisible(), !closes);
        if (!closes) {
            QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(2, 2)); // the black margin
            QVERIFY(model.closed());
            QVERIFY(!box.isVisible());
        }
        // In a classroom the box grows by a line naming the class and the student.
        FrmOProgramu classroom(platform);
        classroom.showClassroom(QStringLiteral("Třída 3.B, Jana Nováková"));
        classroom.Form_Load();
        ui::AboutBox withClass(classroom);
        QCOMPARE(withClass.size(), QSize(274, 190));
        QCOMPARE(withClass.findChild<QLabel*>(QStringLiteral("lblTrida"))->text(),
                 QStringLiteral("Třída 3.B, Jana Nováková"));
    }

    void previewSlidesAndHintsFollowThePointer() {
        Window w;
        QVERIFY(w.loadAndShow());
        auto& model = w.model;
        auto& window = w.window;
        QWidget* surface = window.surface();
        auto* slideOut = w.on<QLabel>("imgVysunNahled");
        auto* input = w.on<QTextEdit>("txtVstup");
        auto* hint = w.on<QLabel>("lblNapoveda001");

        QTest::mouseMove(slideOut, QPoint(5, 5));
        QTRY_VERIFY(hint->isVisible());
        QTest::mouseMove(surface, QPoint(300, 5)); // bare background
        QTRY_VERIFY(!hint->isVisible());
        // The input line hides the hints as well.
        QTest::mouseMove(slideOut, QPoint(5, 5));
        QTRY_VERIFY(hint->isVisible());
        QTest::mouseMove(input->viewport(), QPoint(5, 5));
        QTRY_VERIFY(!hint->isVisible());
        // So do the keys, and a hint hides itself when the pointer reaches it.
        QTest::mouseMove(slideOut, QPoint(5, 5));
        QTRY_VERIFY(hint->isVisible());
        QTest::mouseMove(w.on<QLabel>("lblKlavesa(70)"));
        QTRY_VERIFY(!hint->isVisible());
        QTest::mouseMove(slideOut, QPoint(5, 5));
        QTRY_VERIFY(hint->isVisible());
        QTest::mouseMove(hint, QPoint(2, 2));
        QTRY_VERIFY(!hint->isVisible());

        QTest::mouseClick(slideOut, Qt::LeftButton);
        QCOMPARE(model.form.txtVstup.geometry.height, 2190);
        // The learner sees it move: a slide is under way, and ends all the way down.
        auto* slide = input->findChild<QPropertyAnimation*>();
        QVERIFY(slide != nullptr);
        QCOMPARE(slide->state(), QAbstractAnimation::Running);
        QCOMPARE(slide->endValue().toRect().height(), 146);
        QVERIFY(slide->duration() >= 100);
        QTRY_COMPARE(input->height(), 146);
        QVERIFY(w.on<QLabel>("imgZasunNahled")->isVisible());
    }

    void settingsDialogShowsTheSettings() {
        Promenne shared;
        shared.Metronom = 120;
        shared.OdezvaKlaves = 1;
        shared.PipChyba = 0;
        shared.PipKlavesa = 2;
        test::FakePlatform platform;
        FrmNastaveni model(shared, platform, QStringLiteral("unused.ini"));
        model.Form_Load();
        ui::SettingsDialog dialog(model);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(337, 217));
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("txtMetronom"))->text(),
                 QStringLiteral("120"));
        auto* tempoBar = dialog.findChild<QScrollBar*>(QStringLiteral("vsbMetronom"));
        QCOMPARE(tempoBar->value(), 120);
        // The learner steps the tempo up: the box follows, and so does the tempo to keep.
        tempoBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(model.NovyMetronom, std::int16_t{121});
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("txtMetronom"))->text(),
                 QStringLiteral("121"));
        auto* keyBeep = dialog.findChild<QCheckBox*>(QStringLiteral("chkPipKlavesa"));
        QCOMPARE(keyBeep->checkState(), Qt::PartiallyChecked);
        QCOMPARE(dialog.findChild<QCheckBox*>(QStringLiteral("chkOdezvaKlaves"))->checkState(),
                 Qt::Checked);
        keyBeep->click();
        QCOMPARE(model.chkPipKlavesa.value, 1);
        keyBeep->click();
        QCOMPARE(model.chkPipKlavesa.value, 0);
        keyBeep->click(); // ticked again, never greyed by the learner
        QCOMPARE(model.chkPipKlavesa.value, 1);
        QCOMPARE(keyBeep->checkState(), Qt::Checked);
        // A screen reader's toggle reaches what is saved, as a click does.
        auto* errorBeep = dialog.findChild<QCheckBox*>(QStringLiteral("chkPipChyba"));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(errorBeep);
        QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(errorBeep->isChecked());
        QCOMPARE(model.chkPipChyba.value, 1);
        QTest::keyClick(errorBeep, Qt::Key_Space);
        QCOMPARE(model.chkPipChyba.value, 0);
        QTest::keyClick(&dialog, Qt::Key_Escape); // only the buttons close it
        QVERIFY(dialog.isVisible());
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(shared.PipKlavesa.value(), 1);
        QCOMPARE(shared.PipChyba.value(), 0);
    }

    // A copy test takes what is typed, not what is pasted; Esc does not end it; the metronome
    // beats from the window's opening until Stop, and the loudspeaker switches it.
    void examWindowTakesKeysNotPastesAndBeatsUntilStop() {
        qint64 now = 0;
        tipora::ExamSession exam({QStringLiteral("Opis"), QStringLiteral("ahoj světe")}, 1, 10,
                                 [&] { return now; });
        exam.feedback.metronomeOn = true;
        exam.feedback.metronomeMs = 40;
        QList<tipora::SoundPlan> plans;
        int beats = 0;
        QGuiApplication::clipboard()->setText(QStringLiteral("vloženo"));
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(window != nullptr);
            QTimer::singleShot(10000, window, &QDialog::reject); // a failed check ends it too
            auto* typing = window->findChild<QPlainTextEdit*>(QStringLiteral("txtOpis"));
            QTest::keyClicks(typing, QStringLiteral("ahoj"));
            QTest::keyClick(typing, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(typing, Qt::Key_Escape);
            QVERIFY(window->isVisible());
            QTRY_VERIFY(beats >= 2);
            auto* metronome = window->findChild<QPushButton*>(QStringLiteral("cmdMetronom"));
            metronome->click();
            QCOMPARE(plans.last().beatMilliseconds, 0);
            metronome->click();
            QCOMPARE(plans.last().beatMilliseconds, 40);
            window->findChild<QPushButton*>(QStringLiteral("cmdStop"))->click();
        });
        tipora::ui::runExamWindow(
            exam,
            {[] {}, [&] { ++beats; }, [&](const tipora::SoundPlan& plan) { plans.append(plan); }},
            nullptr);
        QCOMPARE(exam.typed(), QStringLiteral("ahoj"));
        QVERIFY(exam.finished());
        QCOMPARE(plans.first().beatMilliseconds, 40);
        QVERIFY(plans[2].beatRestarts > plans[0].beatRestarts); // switched on afresh
        QCOMPARE(plans.last().beatMilliseconds, 0);
    }

private:
    test::LessonFolder folder_;
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
