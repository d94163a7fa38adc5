// The preview panel, the hover hints, and the menu items that open the settings dialog and the
// about box.
#include "dialogs/frm_nastaveni.h"
#include "dialogs/frm_oprogramu.h"
#include "window/frm_tipora.h"

namespace tipora {

namespace {
// The panel grows by 387 steps of 5 twips: from one row to 2190 twips.
constexpr int kPanelGrowth = 387 * 5;
} // namespace

// The input line slides down over the keyboard and shows everything typed so far; a lesson
// under way pauses while it is out.
void FrmTipora::imgVysunNahled_Click() {
    const Step step(*this);
    form.window.mousePointer = MousePointer::Hourglass;
    session_.slideOut();
    form.imgVysunNahled.visible = false;
    form.txtVstup.geometry.height += kPanelGrowth;
    form.imgZasunNahled.visible = true;
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::imgZasunNahled_Click() {
    const Step step(*this);
    form.window.mousePointer = MousePointer::Hourglass;
    session_.slideIn();
    form.imgZasunNahled.visible = false;
    form.txtVstup.geometry.height -= kPanelGrowth;
    form.imgVysunNahled.visible = true;
    form.window.mousePointer = MousePointer::Default;
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

void FrmTipora::mnuNastaveni_Click() {
    const Step step(*this);
    // Only a running lesson or demonstration is paused around the dialog; one the learner has
    // paused stays paused, its clock standing, and is not resumed afterwards.
    const Phase phase = session_.phase();
    const bool running = phase == Phase::Typing || phase == Phase::Demonstration;
    if (running) {
        session_.togglePause();
    }
    FrmNastaveni dialog(shared_, platform_, files_.settings, files_.createSettingsFolder);
    dialog.Form_Load();
    sync();
    platform_.showSettingsDialog(dialog);
    if (running && session_.paused()) {
        session_.togglePause();
    }
}

void FrmTipora::mnuOProgramu_Click() {
    FrmOProgramu about(platform_);
    about.showClassroom(classroomLine_);
    about.Form_Load();
    sync();
    platform_.showAboutBox(about);
}

} // namespace tipora
