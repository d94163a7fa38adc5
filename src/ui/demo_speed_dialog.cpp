#include "ui/demo_speed_dialog.h"

#include "demo/frm_demo.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"

#include <QKeyEvent>

namespace tipora::ui {

DemoSpeedDialog::DemoSpeedDialog(FrmDemo& model, QWidget* parent)
    : ModelDialog({QStringLiteral("frmDemo"), model.window, model.controls(), model.clickHandlers(),
                   model.changeHandlers(), [&model] { return model.closed(); }},
                  kDialogBrown, parent),
      model_(model) {}

void DemoSpeedDialog::showEvent(QShowEvent* event) {
    ModelDialog::showEvent(event);
    focusForTyping(model_.txtDemo); // typing replaces the 1 the dialog opens with
}

void DemoSpeedDialog::keyReleased(QObject* target, QKeyEvent& event) {
    if (event.isAutoRepeat()) {
        return;
    }
    const int code = keyCodeOf(event);
    model_.Form_KeyUp(code);
    if (!model_.closed() && target == binder().widget(model_.txtDemo)) {
        model_.txtDemo_KeyUp(code);
    }
    refresh();
}

} // namespace tipora::ui
