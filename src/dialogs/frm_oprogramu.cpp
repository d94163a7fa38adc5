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
