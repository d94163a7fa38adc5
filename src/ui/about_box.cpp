#include "ui/about_box.h"

#include "dialogs/frm_oprogramu.h"
#include "ground/windows1250.h"

#include <QKeyEvent>

namespace tipora::ui {

AboutBox::AboutBox(FrmOProgramu& model, QWidget* parent)
    : ModelDialog({QStringLiteral("FrmOProgramu"),
                   model.window,
                   model.controls(),
                   model.clickHandlers(),
                   {},
                   [&model] { return model.closed(); }},
                  kBlack, parent),
      model_(model) {}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    ModelDialog::mousePressEvent(event);
    model_.Form_Click(); // the black margin
    refresh();
}

bool AboutBox::keyPressed(QObject* /*target*/, QKeyEvent& event) {
    // Only a key that types something closes the box; Shift or an arrow alone does not.
    if (event.text().isEmpty()) {
        return false;
    }
    model_.Form_KeyPress(windows1250Code(QStringView(event.text()).first(1)));
    refresh();
    return true;
}

} // namespace tipora::ui
