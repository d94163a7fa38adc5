#pragma once

#include <QDialog>

namespace tipora {
class FrmKlavesnice;
}

namespace tipora::ui {

class FormBinder;

// The borderless first window: which Czech keyboard the learner has. It closes only through
// OK or Enter; the main window is loaded after it.
class KeyboardTypeDialog : public QDialog {
    Q_OBJECT

public:
    explicit KeyboardTypeDialog(FrmKlavesnice& model, QWidget* parent = nullptr);

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    FrmKlavesnice& model_;
    FormBinder* binder_;
};

} // namespace tipora::ui
