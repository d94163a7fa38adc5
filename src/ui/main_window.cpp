#include "ui/main_window.h"

#include "app/frm_tipora.h"
#include "keyboard/windows1250.h"
#include "lessons/lesson_catalogue.h"
#include "ui/fonts.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"
#include "ui/pictures.h"
#include "ui/qt_platform.h"
#include "ui/timer_binder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace tipora::ui {

MainWindow::MainWindow(FrmTipora& model, QtPlatform& platform)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model), platform_(platform), surface_(new QWidget(this)),
      keySource_(platformKeySource()) {
    setObjectName(QStringLiteral("FrmTipora"));
    setWindowIcon(pictures::windowIcon());
    surface_->setObjectName(QStringLiteral("FrmTiporaClient"));
    surface_->setFixedSize(pixels(kMainClientWidth), pixels(kMainClientHeight));
    surface_->setAutoFillBackground(true);
    QPalette palette = surface_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    surface_->setPalette(palette);
    surface_->setFont(fontFor(model_.form.txtPopisLekce.font));
    setCentralWidget(surface_);

    buildMenus();
    binder_ = new FormBinder(surface_, model_.form.controls());
    binder_->onClick = [this](Control& control) { onControlClicked(control); };
    binder_->onMouseMove = [this](Control& control) { onMouseMoved(control); };
    // The window's own background hides every hint.
    surface_->setMouseTracking(true);
    surface_->installEventFilter(this);
    timers_ = new TimerBinder(
        model_.timerHandlers(), [this] { refresh(); }, this);
    platform_.setParentWindow(this);
    platform_.setBeforeModal([this] { refresh(); });
    refresh();
    // The window has a fixed border: no resizing, no maximising.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    platform_.setBeforeModal({});
}

QAction* MainWindow::addItem(QWidget* menu, MenuItem& item) {
    auto* action = new QAction(item.caption, menu);
    action->setObjectName(item.name);
    menu->addAction(action);
    actions_[&item] = action;
    return action;
}

void MainWindow::buildMenus() {
    FrmTiporaForm& form = model_.form;
    QMenu* lekce = menuBar()->addMenu(form.mnuLekce.caption);
    lekce->setObjectName(form.mnuLekce.name);
    menus_[&form.mnuLekce] = lekce;
    for (std::size_t s = 0; s < form.lessonSubmenus.size(); ++s) {
        MenuItem& submenuItem = form.lessonSubmenus[s];
        QMenu* submenu = lekce->addMenu(submenuItem.caption);
        submenu->setObjectName(submenuItem.name);
        menus_[&submenuItem] = submenu;
        for (const LessonDef& def : kLessons) {
            if (static_cast<std::size_t>(def.submenu) == s) {
                QAction* item =
                    addItem(submenu, form.mnuLekceN[static_cast<std::size_t>(def.number - 1)]);
                connect(item, &QAction::triggered, this, [this, number = def.number] {
                    run([this, number] { model_.mnuLekce_Click(number); });
                });
            }
        }
    }
    connect(addItem(menuBar(), form.mnuStop), &QAction::triggered, this,
            [this] { run([this] { model_.mnuStop_Click(); }); });
    connect(addItem(menuBar(), form.mnuPause), &QAction::triggered, this,
            [this] { run([this] { model_.mnuPause_Click(); }); });
    connect(addItem(menuBar(), form.mnuDemo), &QAction::triggered, this,
            [this] { run([this] { model_.mnuDemo_Click(); }); });
    connect(addItem(menuBar(), form.mnuNastaveni), &QAction::triggered, this,
            [this] { run([this] { model_.mnuNastaveni_Click(); }); });
    connect(addItem(menuBar(), form.mnuVysledky), &QAction::triggered, this,
            [this] { run([this] { model_.mnuVysledky_Click(); }); });
    QAction* exit = addItem(menuBar(), form.mnuExit);
    connect(exit, &QAction::triggered, this, [this] { run([this] { model_.mnuExit_Click(); }); });
    connect(addItem(menuBar(), form.mnuOProgramu), &QAction::triggered, this,
            [this] { run([this] { model_.mnuOProgramu_Click(); }); });
}

template <typename Handler> void MainWindow::run(Handler&& handler) {
    // A message box or dialog of this window is waiting for its answer. Qt keeps the mouse and
    // keys from the window meanwhile, but not a screen reader pressing a menu item, and a
    // command run under the box would act on a state the box's handler does not expect.
    if (QApplication::activeModalWidget() != nullptr) {
        return;
    }
    handler();
    refresh();
}

void MainWindow::load() {
    // The model centres the outer window, so it needs the size including the menu bar.
    const QSize outer = sizeHint();
    model_.form.window.width = outer.width() * kTwipsPerPixel;
    model_.form.window.height = outer.height() * kTwipsPerPixel;
    model_.Form_Load();
    refresh();
    move(pixels(model_.form.window.left), pixels(model_.form.window.top));
}

void MainWindow::refresh() {
    const FrmTiporaForm& form = model_.form;
    if (windowTitle() != form.window.title) {
        setWindowTitle(form.window.title);
    }
    if (form.window.mousePointer == MousePointer::Hourglass) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
    for (auto& [item, action] : actions_) {
        action->setText(item->caption);
        action->setEnabled(item->enabled);
    }
    for (auto& [item, menu] : menus_) {
        menu->setTitle(item->caption);
        menu->setEnabled(item->enabled);
    }
    if (binder_ != nullptr) {
        binder_->sync();
    }
    if (timers_ != nullptr) {
        timers_->sync();
    }
}

void MainWindow::onControlClicked(Control& control) {
    FrmTiporaForm& form = model_.form;
    if (&control == &form.lblPause) {
        run([this] { model_.lblPause_Click(); });
    } else if (&control == &form.imgDalsi) {
        run([this] { model_.imgDalsi_Click(); });
    } else if (&control == &form.imgMetronom) {
        run([this] { model_.imgMetronom_Click(); });
    } else if (&control == &form.imgVysunNahled) {
        run([this] { model_.imgVysunNahled_Click(); });
    } else if (&control == &form.imgZasunNahled) {
        run([this] { model_.imgZasunNahled_Click(); });
    }
}

void MainWindow::onMouseMoved(Control& control) {
    FrmTiporaForm& form = model_.form;
    run([this, &form, &control] {
        if (&control == &form.imgVysunNahled) {
            model_.imgVysunNahled_MouseMove();
        } else if (&control == &form.imgZasunNahled) {
            model_.imgZasunNahled_MouseMove();
        } else if (&control == &form.imgMetronom) {
            model_.imgMetronom_MouseMove();
        } else if (&control == &form.imgDalsi) {
            model_.imgDalsi_MouseMove();
        } else if (&control == &form.txtVstup) {
            model_.txtVstup_MouseMove();
        } else if (control.name == QLatin1String("lblKlavesa")) {
            model_.lblKlavesa_MouseMove();
        } else if (control.name.startsWith(QLatin1String("lblNapoveda"))) {
            model_.lblNapoveda_MouseMove(control);
        }
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == surface_ && type == QEvent::MouseMove) {
        // Moves over the controls reach the background too; only the bare background counts.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (surface_->childAt(at) == nullptr) {
            run([this] { model_.Form_MouseMove(); });
        }
        return false;
    }
    const bool keyEvent =
        type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::InputMethod;
    if (!keyEvent || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (type) {
    case QEvent::KeyPress:
        return keyPressed(*static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        keyReleased(*static_cast<QKeyEvent*>(event));
        return false;
    default: {
        // A desktop input method that composed the text itself hands over only the result.
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        run([this, &text] { typeText(text); });
        return true;
    }
    }
}

bool MainWindow::keyPressed(const QKeyEvent& event) {
    const int code = keyCodeOf(event, keySource_);
    QString typed;
    if (event.key() == Qt::Key_Dead_Acute || event.key() == Qt::Key_Dead_Caron) {
        typed =
            composer_.deadKey(event.key() == Qt::Key_Dead_Acute ? DeadKey::Acute : DeadKey::Caron);
    } else {
        typed = composer_.text(event.text());
    }
    run([this, code, &typed] {
        model_.Form_KeyDown(code);
        typeText(typed);
    });
    // Keys that type nothing (Alt for the menu bar, arrows) go on to the window's controls.
    return !event.text().isEmpty() || event.key() == Qt::Key_Dead_Acute ||
           event.key() == Qt::Key_Dead_Caron;
}

void MainWindow::keyReleased(const QKeyEvent& event) {
    // A held key repeats its presses, as a keyboard does; only the real release counts.
    if (event.isAutoRepeat()) {
        return;
    }
    const int code = keyCodeOf(event, keySource_);
    run([this, code] { model_.Form_KeyUp(code); });
}

void MainWindow::typeText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        model_.Form_KeyPress(windows1250Code(QStringView(text).sliced(i, length)));
        i += length - 1;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    model_.Form_Unload();
    event->accept();
}

} // namespace tipora::ui
