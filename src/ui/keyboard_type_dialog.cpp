#include "ui/keyboard_type_dialog.h"

#include "keyboard/frm_klavesnice.h"
#include "keyboard/key_table.h"
#include "ui/fonts.h"
#include "ui/form_binder.h"

#include <QKeyEvent>

namespace tipora::ui {

KeyboardTypeDialog::KeyboardTypeDialog(FrmKlavesnice& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), model_(model) {
    setObjectName(QStringLiteral("FrmKlavesnice"));
    setWindowTitle(model_.window.title);
    setFixedSize(pixels(kKlavesniceClientWidth), pixels(kKlavesniceClientHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);

    model_.Form_Load();
    binder_ = new FormBinder(this, model_.controls());
    binder_->onClick = [this](Control& control) {
        if (&control == &model_.OptCZ) {
            model_.OptCZ_Click();
        } else if (&control == &model_.OptCZQ) {
            model_.OptCZQ_Click();
        } else if (&control == &model_.CmdOK) {
            model_.CmdOK_Click();
        }
        refresh();
    };
    // Key preview: Enter confirms whichever control has the focus.
    for (Control* control : model_.controls()) {
        binder_->widget(*control)->installEventFilter(this);
    }
    installEventFilter(this);
    refresh();
    move(pixels(model_.window.left), pixels(model_.window.top));
}

void KeyboardTypeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    binder_->widget(model_.OptCZ)->setFocus();
}

void KeyboardTypeDialog::refresh() {
    binder_->sync();
    if (model_.accepted()) {
        accept();
    }
}

void KeyboardTypeDialog::reject() {
    // Escape does not close the dialog; only OK and Enter do.
}

bool KeyboardTypeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            model_.Form_KeyDown(kKeyEnter);
            refresh();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tipora::ui
