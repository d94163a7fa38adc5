#include "keyboard/frm_klavesnice.h"

#include "app/platform.h"
#include "app/texts.h"
#include "ground/key_table.h"

namespace tipora {

FrmKlavesnice::FrmKlavesnice(Promenne& shared, Platform& platform)
    : shared_(shared), platform_(platform) {
    window.title = texts::kProgramTitle;
    window.width = kKlavesniceClientWidth;
    window.height = kKlavesniceClientHeight;

    const FontSpec windowFont{FontFace::Serif, 11.25, false};
    const FontSpec optionFont{FontFace::Serif, 9.75, false};
    lblNadpis =
        makeControl("lblNadpis", ControlKind::Label, QStringLiteral("Zadej typ klávesnice:"),
                    {120, 120, 1935, 255}, windowFont);
    OptCZ = makeControl("OptCZ", ControlKind::OptionButton, QStringLiteral("česká"),
                        {120, 480, 1935, 255}, optionFont);
    OptCZQ = makeControl("OptCZQ", ControlKind::OptionButton, QStringLiteral("česká (QWERTY)"),
                         {120, 720, 1935, 255}, optionFont);
    CmdOK = makeControl("CmdOK", ControlKind::Button, QStringLiteral("OK"), {120, 1080, 1935, 255},
                        windowFont);
}

void FrmKlavesnice::Form_Load() {
    // The dialog has no border, so its outer size is its client size.
    window.centreOn(platform_.screenSizeTwips());
    OptCZ_Click();
}

void FrmKlavesnice::OptCZ_Click() {
    OptCZ.value = 1;
    OptCZQ.value = 0;
}

void FrmKlavesnice::OptCZQ_Click() {
    OptCZ.value = 0;
    OptCZQ.value = 1;
}

void FrmKlavesnice::CmdOK_Click() {
    if (OptCZ.value == 1) {
        shared_.TypKlavesnice = 1;
    } else if (OptCZQ.value == 1) {
        shared_.TypKlavesnice = 2;
    }
    accepted_ = true;
}

void FrmKlavesnice::Form_KeyDown(int keyCode) {
    if (keyCode == kKeyEnter) {
        CmdOK_Click();
    }
}

ControlHandlers FrmKlavesnice::clickHandlers() {
    return {{&OptCZ, [this] { OptCZ_Click(); }},
            {&OptCZQ, [this] { OptCZQ_Click(); }},
            {&CmdOK, [this] { CmdOK_Click(); }}};
}

std::vector<Control*> FrmKlavesnice::controls() {
    return {&lblNadpis, &OptCZ, &OptCZQ, &CmdOK};
}

} // namespace tipora
