#pragma once

#include "app/form_model.h"

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace tipora::ui {

// Builds one widget per control of a form model, at the control's twip geometry, and brings the
// widgets up to date with the model after every handler. The model stays the source of truth:
// a widget is changed only where its control differs from what it last showed.
class FormBinder : public QObject {
    Q_OBJECT

public:
    FormBinder(QWidget* surface, std::vector<Control*> controls);

    void sync();
    QWidget* widget(const Control& control) const;

    std::function<void(Control&)> onClick;
    std::function<void(Control&)> onMouseMove;
    // A scroll bar the learner moved; its control already holds the new value.
    std::function<void(Control&)> onChange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        Control* control;
        QWidget* widget;
        Control shown;
        bool fresh = true;
    };

    QWidget* create(Control& control);
    void apply(Entry& entry);
    void clicked(QWidget* widget);

    QWidget* surface_;
    std::vector<Entry> entries_;
};

} // namespace tipora::ui
