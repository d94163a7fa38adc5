#include "dialogs/frm_oprogramu.h"

#include "app/platform.h"
#include "app/texts.h"
#include "ground/windows1250.h"

namespace tipora {

FrmOProgramu::FrmOProgramu(Platform& platform) : platform_(platform) {
    window.title = texts::kProgramTitle;
    window.width = kOProgramuClientWidth;
    window.height = kOProgramuClientHeight;
    imgInfo.name = QStringLiteral("imgInfo");
    imgInfo.kind = ControlKind::Image;
    imgInfo.picture = Picture::About;
    imgInfo.geometry = {120, 120, 3870, 2310};
    lblTrida.name = QStringLiteral("lblTrida");
    lblTrida.visible = false;
}

void FrmOProgramu::showClassroom(const QString& line) {
    if (line.isEmpty() || lblTrida.visible) {
        return;
    }
    constexpr int kLineHeight = 300;
    lblTrida.text = line;
    lblTrida.align = Align::Center;
    lblTrida.geometry = {120, kOProgramuClientHeight - 60, 3870, kLineHeight};
    lblTrida.visible = true;
    window.height += kLineHeight;
}

void FrmOProgramu::Form_Load() {
    window.centreOn(platform_.screenSizeTwips());
}

void FrmOProgramu::imgInfo_Click() {
    closed_ = true;
}

void FrmOProgramu::Form_Click() {
    closed_ = true;
}

void FrmOProgramu::Form_KeyPress(int KeyAscii) {
    if (!isTypedCharacterCode(KeyAscii)) {
        return;
    }
    closed_ = true;
}

} // namespace tipora
