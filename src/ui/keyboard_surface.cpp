#include "ui/keyboard_surface.h"

#include "app/frm_tipora_form.h"
#include "ui/fonts.h"
#include "ui/form_binder.h"

#include <QWidget>
#include <algorithm>
#include <climits>

namespace tipora::ui {

namespace {
constexpr int kMarginTwips = 60;
} // namespace

KeyboardSurface::KeyboardSurface(int keyboardType, QWidget* parent) {
    FrmTiporaForm form;
    if (keyboardType == 2) {
        form.arrangeForQwerty();
    }
    keys_ = form.lblKlavesa;
    marks_ = {form.linF, form.linJ};
    // In the main window's order, bottom first: Enter lies under ")".
    std::vector<Control*> shown;
    for (Control* c : form.controls()) {
        if (c == &form.linF || c == &form.linJ) {
            shown.push_back(&marks_[c == &form.linF ? 0 : 1]);
        } else if (c->index >= 0 && form.klavesa(c->index) == c) {
            shown.push_back(&keys_.at(c->index));
        }
    }
    int left = INT_MAX;
    int top = INT_MAX;
    int right = 0;
    int bottom = 0;
    for (const Control* c : shown) {
        left = std::min(left, c->geometry.left);
        top = std::min(top, c->geometry.top);
        right = std::max(right, c->geometry.left + c->geometry.width);
        bottom = std::max(bottom, c->geometry.top + c->geometry.height);
    }
    for (Control* c : shown) {
        c->geometry.left += kMarginTwips - left;
        c->geometry.top += kMarginTwips - top;
    }
    surface_ = new QWidget(parent);
    surface_->setObjectName(QStringLiteral("picKlavesnice"));
    surface_->setFixedSize(pixels(right - left + 2 * kMarginTwips),
                           pixels(bottom - top + 2 * kMarginTwips));
    binder_ = new FormBinder(surface_, shown, [](const std::function<void()>& run) { run(); });
}

QWidget* KeyboardSurface::keyWidget(int code) const {
    const auto it = keys_.find(code);
    return it == keys_.end() ? nullptr : binder_->widget(it->second);
}

void KeyboardSurface::sync() {
    binder_->sync();
}

} // namespace tipora::ui
