#pragma once

#include "app/form_model.h"
#include "app/promenne.h"

#include <vector>

namespace tipora {

class Platform;

inline constexpr int kKlavesniceClientWidth = 2175;
inline constexpr int kKlavesniceClientHeight = 1455;

// The first window: asks which Czech keyboard the learner has. Its OK stores the answer in
// TypKlavesnice and closes the dialog; the main window is loaded after that.
class FrmKlavesnice {
public:
    FrmKlavesnice(Promenne& shared, Platform& platform);
    FrmKlavesnice(const FrmKlavesnice&) = delete;
    FrmKlavesnice& operator=(const FrmKlavesnice&) = delete;

    WindowState window;
    Control lblNadpis;
    Control OptCZ;
    Control OptCZQ;
    Control CmdOK;

    // Centres the dialog; the focus then lands on OptCZ, which selects "česká".
    void Form_Load();
    void OptCZ_Click();
    void OptCZQ_Click();
    void CmdOK_Click();
    void Form_KeyDown(int keyCode);

    // True once OK has closed the dialog: the main window is due.
    bool accepted() const { return accepted_; }

    std::vector<Control*> controls(); // in tab order
    ControlHandlers clickHandlers();

private:
    Promenne& shared_;
    Platform& platform_;
    bool accepted_ = false;
};

} // namespace tipora
