#include "ui/settings_dialog.h"

#include "dialogs/frm_nastaveni.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"

#include <QKeyEvent>

namespace tipora::ui {

SettingsDialog::SettingsDialog(FrmNastaveni& model, QWidget* parent)
    : ModelDialog({QStringLiteral("FrmNastaveni"), model.window, model.controls(),
                   model.clickHandlers(), model.changeHandlers(),
                   [&model] { return model.closed(); }},
                  kDialogBrown, parent),
      model_(model) {}

void SettingsDialog::showEvent(QShowEvent* event) {
    ModelDialog::showEvent(event);
    focusForTyping(model_.txtMetronom);
}

bool SettingsDialog::keyPressed(QObject* /*target*/, QKeyEvent& event) {
    // Enter and Escape do nothing here: only the buttons end the dialog.
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
           event.key() == Qt::Key_Escape;
}

void SettingsDialog::keyReleased(QObject* target, QKeyEvent& event) {
    if (event.isAutoRepeat() || target != binder().widget(model_.txtMetronom)) {
        return;
    }
    model_.txtMetronom_KeyUp(keyCodeOf(event));
    refresh();
}

} // namespace tipora::ui
