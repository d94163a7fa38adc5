#include "ui/demo_speed_dialog.h"

#include "demo/frm_demo.h"
#include "ui/form_binder.h"
#include "ui/key_codes.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tipora::ui {

DemoSpeedDialog::DemoSpeedDialog(FrmDemo& model, QWidget* parent)
    : ModelDialog(model.window, model.controls(), kDialogBrown, parent), model_(model) {
    setObjectName(QStringLiteral("frmDemo"));
    binder().setHandlers(ControlEvent::Click, model_.clickHandlers());
    binder().setHandlers(ControlEvent::Change, model_.changeHandlers());
    refresh();
}

bool DemoSpeedDialog::modelClosed() const {
    return model_.closed();
}

void DemoSpeedDialog::showEvent(QShowEvent* event) {
    ModelDialog::showEvent(event);
    auto* box = static_cast<QLineEdit*>(binder().widget(model_.txtDemo));
    box->setFocus();
    box->selectAll(); // typing replaces the 1 the dialog opens with
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
