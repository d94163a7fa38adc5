#pragma once

#include "ui/model_dialog.h"

namespace tipora {
class FrmNastaveni;
}

namespace tipora::ui {

// "Nastavení": tempo, beeps and visual response. No key closes it; only its buttons do.
class SettingsDialog : public ModelDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(FrmNastaveni& model, QWidget* parent = nullptr);

protected:
    void keyReleased(QObject* target, QKeyEvent& event) override;
    bool keyPressed(QObject* target, QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

private:
    FrmNastaveni& model_;
};

} // namespace tipora::ui
