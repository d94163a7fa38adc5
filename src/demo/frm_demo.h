#pragma once

#include "app/form_model.h"
#include "app/promenne.h"
#include "dialogs/numeric_box.h"

#include <vector>

namespace tipora {

class Platform;

inline constexpr int kDemoClientWidth = 2295;
inline constexpr int kDemoClientHeight = 855;
inline constexpr int kDemoSpeedMin = 1;
inline constexpr int kDemoSpeedMax = 300;

// The speed of a demonstration in keystrokes per minute, typed into a box or stepped with a
// small scroll bar; both always show the same value. Start (or Enter) closes it; there is no
// cancelling.
class FrmDemo {
public:
    FrmDemo(Promenne& shared, Platform& platform);
    FrmDemo(const FrmDemo&) = delete;
    FrmDemo& operator=(const FrmDemo&) = delete;

    WindowState window;
    Control txtDemo;
    Control lblPopiska001;
    Control vsbDemo;
    Control cmdOK;

    void Form_Load();
    // After every key released in the box (the box's text already holds what the key typed).
    void txtDemo_KeyUp(int keyCode);
    void vsbDemo_Change();
    void cmdOK_Click();
    void Form_KeyUp(int keyCode);

    // Sets the scroll bar as the learner or the program moves it; a real change runs its handler.
    void setScrollValue(int value);

    ControlHandlers clickHandlers() {
        return {{&cmdOK, [this] { cmdOK_Click(); }}};
    }
    ControlHandlers changeHandlers() {
        return {{&vsbDemo, [this] { vsbDemo_Change(); }}};
    }

    bool closed() const { return closed_; }
    std::vector<Control*> controls(); // in tab order

private:
    Promenne& shared_;
    Platform& platform_;
    bool closed_ = false;
};

} // namespace tipora
