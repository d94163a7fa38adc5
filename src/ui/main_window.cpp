#include "ui/main_window.h"

#include "app/frm_tipora.h"
#include "lessons/lesson_catalogue.h"
#include "ui/fonts.h"
#include "ui/form_binder.h"
#include "ui/pictures.h"
#include "ui/qt_platform.h"
#include "ui/timer_binder.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace tipora::ui {

MainWindow::MainWindow(FrmTipora& model, QtPlatform& platform)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model), platform_(platform), surface_(new QWidget(this)) {
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
    timers_ = new TimerBinder(
        model_.timerHandlers(), [this] { refresh(); }, this);
    platform_.setParentWindow(this);
    refresh();
    // The window has a fixed border: no resizing, no maximising.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() = default;

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
                // Choosing a lesson starts it once lessons can be read.
                addItem(submenu, form.mnuLekceN[static_cast<std::size_t>(def.number - 1)]);
            }
        }
    }
    addItem(menuBar(), form.mnuStop);
    addItem(menuBar(), form.mnuPause);
    addItem(menuBar(), form.mnuDemo);
    addItem(menuBar(), form.mnuNastaveni);
    QAction* exit = addItem(menuBar(), form.mnuExit);
    connect(exit, &QAction::triggered, this, [this] { run([this] { model_.mnuExit_Click(); }); });
    addItem(menuBar(), form.mnuOProgramu);
}

template <typename Handler> void MainWindow::run(Handler&& handler) {
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

void MainWindow::closeEvent(QCloseEvent* event) {
    model_.Form_Unload();
    event->accept();
}

} // namespace tipora::ui
