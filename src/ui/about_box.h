#pragma once

#include "ui/model_dialog.h"

namespace tipora {
class FrmOProgramu;
}

namespace tipora::ui {

// The about picture; a click anywhere or a typed key closes it.
class AboutBox : public ModelDialog {
    Q_OBJECT

public:
    explicit AboutBox(FrmOProgramu& model, QWidget* parent = nullptr);

protected:
    bool keyPressed(QObject* target, QKeyEvent& event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    FrmOProgramu& model_;
};

} // namespace tipora::ui
