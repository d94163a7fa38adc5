#pragma once

#include "ui/model_dialog.h"

namespace tipora {
class FrmKlavesnice;
}

namespace tipora::ui {

// The first window: which Czech keyboard the learner has. OK or Enter closes it; the main
// window is loaded after it. Unlike the other dialogs it yields to the window system's close,
// which leaves it unanswered, and the program then ends.
class KeyboardTypeDialog : public ModelDialog {
    Q_OBJECT

public:
    explicit KeyboardTypeDialog(FrmKlavesnice& model, QWidget* parent = nullptr);

protected:
    bool keyPressed(QObject* target, QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FrmKlavesnice& model_;
};

} // namespace tipora::ui
