#pragma once

#include "app/promenne.h"
#include "demo/frm_demo.h"
#include "support/fake_platform.h"
#include "ui/demo_speed_dialog.h"

#include <QTest>

namespace tipora::test {

// The demonstration-speed dialog loaded and on screen, as the Demo command opens it.
struct DemoSpeed {
    DemoSpeed() { dialog.show(); }

    bool exposed() { return QTest::qWaitForWindowExposed(&dialog); }

    Promenne shared;
    FakePlatform platform;
    FrmDemo model{shared, platform};
    ui::DemoSpeedDialog dialog{loaded(model)};

private:
    // The dialog is made from the loaded form, as the window does it.
    static FrmDemo& loaded(FrmDemo& form) {
        form.Form_Load();
        return form;
    }
};

} // namespace tipora::test
