// The preview panel: the input line slides down over the keyboard and shows everything typed
// so far; the lesson pauses while it is out.
#include "app/frm_tipora.h"

namespace tipora {

namespace {
// The panel grows by 387 steps of 5 twips: from one row to 2190 twips.
constexpr int kPanelGrowth = 387 * 5;
} // namespace

void FrmTipora::imgVysunNahled_Click() {
    PracticeState& s = state;
    form.window.mousePointer = MousePointer::Hourglass;
    if (s.Spusteno) {
        form.tmrTimeP.setEnabled(false);
        form.lblPause.fore = kRed;
        s.PauzaPredNahledem = s.Pauza;
        s.Pauza = true;
    }
    s.Vstup = form.txtVstup.text;
    form.txtVstup.text =
        s.Napsano.isEmpty() ? *s.Vstup : s.Napsano + QStringLiteral("\r\n") + *s.Vstup;
    form.tmrMetronom.setEnabled(false);
    form.imgVysunNahled.visible = false;
    form.txtVstup.geometry.height += kPanelGrowth;
    form.imgZasunNahled.visible = true;
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::imgZasunNahled_Click() {
    PracticeState& s = state;
    form.window.mousePointer = MousePointer::Hourglass;
    if (!s.PauzaPredNahledem && s.Spusteno) {
        form.tmrTimeP.setEnabled(true);
        form.lblPause.fore = kWhite;
        s.Pauza = false;
    }
    form.imgZasunNahled.visible = false;
    form.txtVstup.geometry.height -= kPanelGrowth;
    form.imgVysunNahled.visible = true;
    form.txtVstup.text = s.Vstup.value_or(QString());
    resumeMetronome();
    form.window.mousePointer = MousePointer::Default;
}

bool FrmTipora::previewIsOut() const {
    return form.imgZasunNahled.visible;
}

// Hover help: a yellow hint beside each picture button while the pointer rests on it.

void FrmTipora::Form_MouseMove() {
    for (Control* hint :
         {&form.lblNapoveda001, &form.lblNapoveda002, &form.lblNapoveda003, &form.lblNapoveda004}) {
        hint->visible = false;
    }
}

void FrmTipora::imgVysunNahled_MouseMove() {
    form.lblNapoveda001.visible = true;
    form.lblNapoveda004.visible = false;
}

void FrmTipora::imgZasunNahled_MouseMove() {
    form.lblNapoveda002.visible = true;
}

void FrmTipora::imgMetronom_MouseMove() {
    form.lblNapoveda003.visible = true;
}

void FrmTipora::imgDalsi_MouseMove() {
    form.lblNapoveda004.visible = true;
    form.lblNapoveda001.visible = false;
}

void FrmTipora::lblKlavesa_MouseMove() {
    form.lblNapoveda001.visible = false;
    form.lblNapoveda002.visible = false;
    form.lblNapoveda004.visible = false;
}

void FrmTipora::txtVstup_MouseMove() {
    lblKlavesa_MouseMove();
}

void FrmTipora::lblNapoveda_MouseMove(Control& hint) {
    hint.visible = false;
}

} // namespace tipora
