#include "demo/frm_demo.h"

#include "app/platform.h"

#include <QRegularExpression>
#include <QtMath>
#include <cmath>

namespace tipora {

namespace {
constexpr int kEnter = 13;
} // namespace

double leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?(\\d+(\\.\\d*)?|\\.\\d+))"));
    const auto match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

bool isNumericBoxKey(int keyCode) {
    return keyCode == kEnter || (keyCode >= 48 && keyCode <= 57) ||
           (keyCode >= 96 && keyCode <= 105);
}

bool isModifierKey(int keyCode) {
    return keyCode == 16 || keyCode == 17 || keyCode == 18 || keyCode == 20;
}

FrmDemo::FrmDemo(Promenne& shared, Platform& platform) : shared_(shared), platform_(platform) {
    window.title = QStringLiteral("Nastavení ukázky");
    window.width = kDemoClientWidth;
    window.height = kDemoClientHeight;

    txtDemo.name = QStringLiteral("txtDemo");
    txtDemo.kind = ControlKind::EditBox;
    txtDemo.geometry = {120, 120, 615, 255};
    txtDemo.back = kBlue;
    txtDemo.fore = kWhite;
    txtDemo.font = {FontFace::Sans, 8.25, false};

    lblPopiska001.name = QStringLiteral("lblPopiska001");
    lblPopiska001.text = QStringLiteral("úhozů / min");
    lblPopiska001.geometry = {1080, 120, 1095, 255};
    lblPopiska001.back = kDialogBrown;
    lblPopiska001.fore = kWhite;

    vsbDemo.name = QStringLiteral("vsbDemo");
    vsbDemo.kind = ControlKind::ScrollBar;
    vsbDemo.geometry = {720, 120, 255, 255};
    vsbDemo.minimum = kDemoSpeedMin;
    vsbDemo.maximum = kDemoSpeedMax;
    vsbDemo.value = kDemoSpeedMin;

    cmdOK.name = QStringLiteral("cmdOK");
    cmdOK.kind = ControlKind::Button;
    cmdOK.text = QStringLiteral("Start");
    cmdOK.geometry = {120, 480, 2055, 255};
}

void FrmDemo::Form_Load() {
    const QSize screen = platform_.screenSizeTwips();
    window.left = qRound((screen.width() - window.width) / 2.0);
    window.top = qRound((screen.height() - window.height) / 2.0);
    shared_.RychlostUkazky = 1;
    txtDemo.text = QStringLiteral("1");
    setScrollValue(1);
}

void FrmDemo::txtDemo_KeyUp(int keyCode) {
    if (isModifierKey(keyCode)) {
        return;
    }
    const double v = leadingNumber(txtDemo.text);
    if (!isNumericBoxKey(keyCode) || v < kDemoSpeedMin || v > kDemoSpeedMax) {
        txtDemo.text.clear();
        return;
    }
    shared_.RychlostUkazky = static_cast<std::int16_t>(std::nearbyint(v));
    setScrollValue(shared_.RychlostUkazky);
}

void FrmDemo::setScrollValue(int value) {
    const int bounded = std::clamp(value, vsbDemo.minimum, vsbDemo.maximum);
    if (bounded != vsbDemo.value) {
        vsbDemo.value = bounded;
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
    if (keyCode == kEnter) {
        cmdOK_Click();
    }
}

std::vector<Control*> FrmDemo::controls() {
    return {&txtDemo, &lblPopiska001, &vsbDemo, &cmdOK};
}

} // namespace tipora
