#pragma once

#include "app/form_model.h"
#include "app/promenne.h"

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

    bool closed() const { return closed_; }
    std::vector<Control*> controls(); // in tab order

private:
    Promenne& shared_;
    Platform& platform_;
    bool closed_ = false;
};

// The number at the start of a text, as the speed and tempo boxes read it: leading blanks
// skipped, reading stops at the first character that cannot continue the number; empty is 0.
double leadingNumber(const QString& text);

// Whether a released key may change a numeric box: Enter, a digit of the main block or of the
// numeric keypad.
bool isNumericBoxKey(int keyCode);

// Shift, Ctrl, Alt and Caps Lock type nothing by themselves. On the Czech keyboard the digits
// of the main block need Shift, so a box that judged the release of Shift would throw away
// every number just typed; their releases are not judged.
bool isModifierKey(int keyCode);

} // namespace tipora
