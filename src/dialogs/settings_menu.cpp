// The menu items that open the settings dialog and the about box.
#include "app/frm_tipora.h"
#include "app/platform.h"
#include "dialogs/frm_nastaveni.h"
#include "dialogs/frm_oprogramu.h"

namespace tipora {

void FrmTipora::mnuNastaveni_Click() {
    // Only a running lesson or demonstration is paused around the dialog; one the learner has
    // paused stays paused, its clock standing, and is not resumed afterwards.
    const bool running = !state.Pauza && (state.Spusteno || state.Ukazka);
    if (running) {
        mnuPause_Click();
    }
    FrmNastaveni dialog(shared_, platform_, files_.settings, files_.createSettingsFolder);
    dialog.Form_Load();
    platform_.showSettingsDialog(dialog);
    if (running && state.Pauza) {
        mnuPause_Click();
    }
}

void FrmTipora::mnuOProgramu_Click() {
    FrmOProgramu about(platform_);
    about.Form_Load();
    platform_.showAboutBox(about);
}

} // namespace tipora
