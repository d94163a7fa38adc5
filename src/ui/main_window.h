#pragma once

#include "app/form_model.h"
#include "keyboard/dead_keys.h"
#include "keyboard/key_event_mapping.h"

#include <QMainWindow>
#include <map>

class QAction;
class QKeyEvent;
class QMenu;

namespace tipora {
class FrmTipora;
struct Control;
struct MenuItem;
} // namespace tipora

namespace tipora::ui {

class FormBinder;
class QtPlatform;
class TimerBinder;

// The Qt face of the main window: shows FrmTipora's form model and turns clicks, menu choices,
// closing and timer ticks into its handlers.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(FrmTipora& model, QtPlatform& platform);
    ~MainWindow() override;

    // Runs the model's load and places the window where it put it.
    void load();

    // Brings every widget, menu item and timer up to date with the model.
    void refresh();

    QWidget* surface() const { return surface_; }

    // Tests feed key events of a chosen platform; the program finds its own.
    void setKeySource(KeySource source) { keySource_ = source; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Key preview: the window sees every key before the control that has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    QAction* addItem(QWidget* menu, MenuItem& item);
    template <typename Handler> void run(Handler&& handler);
    bool keyPressed(const QKeyEvent& event);
    void keyReleased(const QKeyEvent& event);
    void typeText(const QString& text);

    FrmTipora& model_;
    QtPlatform& platform_;
    QWidget* surface_;
    FormBinder* binder_ = nullptr;
    TimerBinder* timers_ = nullptr;
    std::map<MenuItem*, QAction*> actions_;
    std::map<MenuItem*, QMenu*> menus_;
    MousePointer shownPointer_ = MousePointer::Default;
    KeySource keySource_;
    DeadKeyComposer composer_;
};

} // namespace tipora::ui
