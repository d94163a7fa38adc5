#include "ui/settings_dialog.h"

#include "dialogs/frm_nastaveni.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tipora::ui {

SettingsDialog::SettingsDialog(FrmNastaveni& model, QWidget* parent)
    : ModelDialog(model.window, model.controls(), kDialogBrown, parent), model_(model) {
    setObjectName(QStringLiteral("FrmNastaveni"));
    binder().setHandlers(ControlEvent::Click, model_.clickHandlers());
    binder().setHandlers(ControlEvent::Change, model_.changeHandlers());
    refresh();
}

bool SettingsDialog::modelClosed() const {
    return model_.closed();
}

void SettingsDialog::showEvent(QShowEvent* event) {
    ModelDialog::showEvent(event);
    auto* box = static_cast<QLineEdit*>(binder().widget(model_.txtMetronom));
    box->setFocus();
    box->selectAll();
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
