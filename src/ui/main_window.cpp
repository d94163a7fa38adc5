#include "ui/main_window.h"

#include "ground/lesson_catalogue.h"
#include "ground/windows1250.h"
#include "ui/fonts.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"
#include "ui/pictures.h"
#include "ui/qt_platform.h"
#include "ui/timer_binder.h"
#include "window/frm_tipora.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>

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
    binder_ = new FormBinder(surface_, model_.form.controls(),
                             [this](const std::function<void()>& handler) { run(handler); });
    binder_->setHandlers(ControlEvent::Click, model_.clickHandlers());
    binder_->setHandlers(ControlEvent::MouseMove, model_.mouseMoveHandlers());
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

namespace {
// The menu bar's titles a little closer together than the desktop style sets them.
class CompactMenuBarStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem) {
            result.rwidth() -= kNarrower;
        }
        return result;
    }

private:
    static constexpr int kNarrower = 5;
};
} // namespace

QAction* MainWindow::addItem(QWidget* menu, MenuItem& item) {
    auto* action = new QAction(item.caption, menu);
    action->setObjectName(item.name);
    menu->addAction(action);
    actions_[&item] = action;
    return action;
}

void MainWindow::buildMenus() {
    FrmTiporaForm& form = model_.form;
    // Nine titles share the window's fixed width; with the style's margins the last one would
    // drop into an overflow button.
    auto* compact = new CompactMenuBarStyle;
    compact->setParent(menuBar());
    menuBar()->setStyle(compact);
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
                addItem(submenu, form.mnuLekceN[static_cast<std::size_t>(def.number - 1)]);
            }
        }
    }
    lekce->addSeparator();
    addItem(lekce, form.mnuSlabeKlavesy);
    addItem(lekce, form.mnuVlastniText);
    for (MenuItem* item : form.topMenuItems()) {
        addItem(menuBar(), *item);
    }
    for (auto& [item, handler] : model_.menuHandlers()) {
        connect(actions_.at(item), &QAction::triggered, this,
                [this, handler = handler] { run(handler); });
    }
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
    // Setting a pointer talks to the window system even when it stays the same.
    if (form.window.mousePointer != shownPointer_) {
        shownPointer_ = form.window.mousePointer;
        if (shownPointer_ == MousePointer::Hourglass) {
            setCursor(Qt::WaitCursor);
        } else {
            unsetCursor();
        }
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
    platform_.planSound(model_.soundPlan());
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
