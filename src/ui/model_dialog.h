#pragma once

#include "app/form_model.h"

#include <QDialog>
#include <functional>
#include <vector>

class QKeyEvent;

namespace tipora::ui {

class FormBinder;

// What a dialog shows of its form model, and how it tells that the model has closed it.
struct DialogModel {
    QString objectName;
    const WindowState& window;
    std::vector<Control*> controls;
    ControlHandlers clicks;
    ControlHandlers changes;
    std::function<bool()> closed;
};

// A borderless dialog shown from a form model: centred where the model's load put it, closed
// only through its own controls (Escape and the window system's close do nothing).
class ModelDialog : public QDialog {
    Q_OBJECT

public:
    void reject() override;

protected:
    ModelDialog(const DialogModel& model, Color background, QWidget* parent);

    FormBinder& binder() const { return *binder_; }
    // Brings the widgets up to date after a handler, and closes once the model has closed.
    void refresh();
    // Gives an edit box the focus with its text selected, so that typing replaces it.
    void focusForTyping(const Control& box);
    // Key preview: every key of the dialog, whichever control has the focus. Return true to
    // keep the key from the control.
    virtual bool keyPressed(QObject* target, QKeyEvent& event);
    virtual void keyReleased(QObject* target, QKeyEvent& event);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FormBinder* binder_;
    std::function<bool()> closed_;
};

} // namespace tipora::ui
