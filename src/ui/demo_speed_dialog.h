#pragma once

#include "ui/model_dialog.h"

namespace tipora {
class FrmDemo;
}

namespace tipora::ui {

// "Nastavení ukázky": the demonstration's speed, typed or stepped; Start or Enter begins.
class DemoSpeedDialog : public ModelDialog {
    Q_OBJECT

public:
    explicit DemoSpeedDialog(FrmDemo& model, QWidget* parent = nullptr);

protected:
    void keyReleased(QObject* target, QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

private:
    FrmDemo& model_;
};

} // namespace tipora::ui
