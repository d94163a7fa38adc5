#include "ui/keyboard_type_dialog.h"

#include "ground/key_table.h"
#include "keyboard/frm_klavesnice.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tipora::ui {

namespace {
// The load runs before the dialog's widgets are built from the model.
FrmKlavesnice& loaded(FrmKlavesnice& model) {
    model.Form_Load();
    return model;
}
} // namespace

KeyboardTypeDialog::KeyboardTypeDialog(FrmKlavesnice& model, QWidget* parent)
    : ModelDialog({QStringLiteral("FrmKlavesnice"),
                   loaded(model).window,
                   model.controls(),
                   model.clickHandlers(),
                   {},
                   [&model] { return model.accepted(); }},
                  kBlack, parent),
      model_(model) {}

void KeyboardTypeDialog::showEvent(QShowEvent* event) {
    ModelDialog::showEvent(event);
    binder().widget(model_.OptCZ)->setFocus();
}

void KeyboardTypeDialog::closeEvent(QCloseEvent* event) {
    // Escape still does nothing: only a close from outside ends the dialog without OK.
    QDialog::reject();
    QDialog::closeEvent(event);
}

bool KeyboardTypeDialog::keyPressed(QObject* /*target*/, QKeyEvent& event) {
    const int code = keyCodeOf(event);
    if (code != kKeyEnter) {
        return false;
    }
    model_.Form_KeyDown(code);
    refresh();
    return true;
}

} // namespace tipora::ui
