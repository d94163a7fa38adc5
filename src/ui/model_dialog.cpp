#include "ui/model_dialog.h"

#include "ui/fonts.h"
#include "ui/form_binder.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tipora::ui {

ModelDialog::ModelDialog(const DialogModel& model, Color background, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), closed_(model.closed) {
    setObjectName(model.objectName);
    const WindowState& window = model.window;
    setWindowTitle(window.title);
    setFixedSize(pixels(window.width), pixels(window.height));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(background));
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setFont(fontFor({FontFace::Serif, 11.25, false}));

    binder_ = new FormBinder(this, model.controls, [this](const std::function<void()>& handler) {
        handler();
        refresh();
    });
    binder_->setHandlers(ControlEvent::Click, model.clicks);
    binder_->setHandlers(ControlEvent::Change, model.changes);
    for (Control* control : model.controls) {
        binder_->widget(*control)->installEventFilter(this);
    }
    installEventFilter(this);
    move(pixels(window.left), pixels(window.top));
    refresh();
}

void ModelDialog::reject() {
    // Closed only through its own controls.
}

void ModelDialog::refresh() {
    binder_->sync();
    if (closed_()) {
        accept();
    }
}

void ModelDialog::focusForTyping(const Control& box) {
    auto* edit = static_cast<QLineEdit*>(binder_->widget(box));
    edit->setFocus();
    edit->selectAll();
}

bool ModelDialog::keyPressed(QObject* /*target*/, QKeyEvent& /*event*/) {
    return false;
}

void ModelDialog::keyReleased(QObject* /*target*/, QKeyEvent& /*event*/) {}

bool ModelDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        if (keyPressed(watched, *static_cast<QKeyEvent*>(event))) {
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease) {
        keyReleased(watched, *static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tipora::ui
