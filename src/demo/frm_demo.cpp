#include "demo/frm_demo.h"

#include "app/platform.h"
#include "ground/key_table.h"

namespace tipora {

FrmDemo::FrmDemo(Promenne& shared, Platform& platform) : shared_(shared), platform_(platform) {
    window.title = QStringLiteral("Nastavení ukázky");
    window.width = kDemoClientWidth;
    window.height = kDemoClientHeight;

    txtDemo = makeControl("txtDemo", ControlKind::EditBox, {}, {120, 120, 615, 255},
                          {FontFace::Sans, 8.25, false}, kBlue);
    lblPopiska001 = makeControl("lblPopiska001", ControlKind::Label, QStringLiteral("úhozů / min"),
                                {1080, 120, 1095, 255}, {}, kDialogBrown);
    vsbDemo = makeControl("vsbDemo", ControlKind::ScrollBar, {}, {720, 120, 255, 255});
    vsbDemo.minimum = kDemoSpeedMin;
    vsbDemo.maximum = kDemoSpeedMax;
    vsbDemo.value = kDemoSpeedMin;
    cmdOK =
        makeControl("cmdOK", ControlKind::Button, QStringLiteral("Start"), {120, 480, 2055, 255});
}

void FrmDemo::Form_Load() {
    window.centreOn(platform_.screenSizeTwips());
    shared_.RychlostUkazky = 1;
    txtDemo.text = QStringLiteral("1");
    setScrollValue(1);
}

void FrmDemo::txtDemo_KeyUp(int keyCode) {
    if (const auto speed = acceptNumericBoxKey(txtDemo, keyCode, kDemoSpeedMin, kDemoSpeedMax)) {
        shared_.RychlostUkazky = static_cast<std::int16_t>(*speed);
        setScrollValue(*speed);
    }
}

void FrmDemo::setScrollValue(int value) {
    if (moveScrollBar(vsbDemo, value)) {
        vsbDemo_Change();
    }
}

void FrmDemo::vsbDemo_Change() {
    shared_.RychlostUkazky = static_cast<std::int16_t>(vsbDemo.value);
    txtDemo.text = QString::number(vsbDemo.value);
}

void FrmDemo::cmdOK_Click() {
    closed_ = true;
}

void FrmDemo::Form_KeyUp(int keyCode) {
    if (keyCode == kKeyEnter) {
        cmdOK_Click();
    }
}

std::vector<Control*> FrmDemo::controls() {
    return {&txtDemo, &lblPopiska001, &vsbDemo, &cmdOK};
}

} // namespace tipora
