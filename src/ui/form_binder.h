#pragma once

#include "app/form_model.h"

#include <QObject>
#include <array>
#include <functional>
#include <vector>

class QWidget;

namespace tipora::ui {

struct KindBinding;

// What a learner does to a control that its form model may have a handler for.
enum class ControlEvent { Click, Change, MouseMove };

// Builds one widget per control of a form model, at the control's twip geometry, and brings the
// widgets up to date with the model after every handler. The model stays the source of truth:
// a widget is changed only where its control differs from what it last showed. How a widget is
// made and shown depends on the control's kind (form_binder.cpp keeps one entry per kind).
class FormBinder : public QObject {
    Q_OBJECT

public:
    // Runs one handler and whatever must follow it (bringing the window up to date).
    using Runner = std::function<void(const std::function<void()>&)>;

    FormBinder(QWidget* surface, std::vector<Control*> controls, Runner run);

    // The form model's handlers for one event, by control. A scroll bar's Change runs after its
    // control already holds the new value.
    void setHandlers(ControlEvent event, const ControlHandlers& handlers);

    void sync();
    QWidget* widget(const Control& control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        Control* control;
        const KindBinding* kind;
        QWidget* widget;
        Control shown;
        bool fresh = true;
        std::array<std::function<void()>, 3> handlers;
    };

    Entry* entryOf(const Control& control);
    void fire(Control& control, ControlEvent event);
    void apply(Entry& entry);

    QWidget* surface_;
    Runner run_;
    std::vector<Entry> entries_;
};

} // namespace tipora::ui
