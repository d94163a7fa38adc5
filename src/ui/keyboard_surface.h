#pragma once

#include "app/form_model.h"
#include "keyboard/key_marking.h"

#include <vector>

class QWidget;

namespace tipora::ui {

class FormBinder;

// The main window's 51 key labels and the marks of F and J on a widget of their own, made and
// drawn by the form binder exactly as the main window draws them, for windows that show the
// keyboard beside something else.
class KeyboardSurface {
public:
    // keyboardType: 1 "česká", 2 "česká (QWERTY)".
    KeyboardSurface(int keyboardType, QWidget* parent);
    KeyboardSurface(const KeyboardSurface&) = delete;
    KeyboardSurface& operator=(const KeyboardSurface&) = delete;

    QWidget* widget() const { return surface_; }
    // The labels by key code: colour them, then sync().
    KeyLabels& keys() { return keys_; }
    QWidget* keyWidget(int code) const;
    void sync();

private:
    KeyLabels keys_;
    std::vector<Control> marks_; // linF, linJ
    QWidget* surface_ = nullptr;
    FormBinder* binder_ = nullptr;
};

} // namespace tipora::ui
