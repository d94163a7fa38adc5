// The metronome: a beep per keystroke interval of the chosen tempo, while the lesson runs; and
// what the sound card should be ready for.
#include "app/frm_tipora.h"
#include "app/platform.h"

#include <algorithm>

namespace tipora {

namespace {

// The beat in milliseconds for a tempo in keystrokes per minute.
int metronomeInterval(const SharedValue& tempo) {
    // Without a usable tempo (no settings file, or 0) the metronome keeps the tempo the bundled
    // settings use rather than divide by nothing; a hand-edited file cannot make it beep faster
    // than the settings dialog allows.
    const int beatsPerMinute = tempo.value() < kMetronomeMinTempo
                                   ? kMetronomeDefaultTempo
                                   : std::min(tempo.value(), kMetronomeMaxTempo);
    return 60000 / beatsPerMinute;
}

} // namespace

void FrmTipora::imgMetronom_Click() {
    if (state.Pauza) {
        return; // not while paused, nor before the first lesson
    }
    if (!state.MetronomZapnut) {
        form.tmrMetronom.setInterval(metronomeInterval(shared_.Metronom));
        form.tmrMetronom.setEnabled(true);
        state.MetronomZapnut = true;
    } else {
        form.tmrMetronom.setEnabled(false);
        state.MetronomZapnut = false;
    }
}

void FrmTipora::resumeMetronome() {
    if (state.MetronomZapnut) {
        form.tmrMetronom.setEnabled(true);
    }
}

void FrmTipora::tmrMetronom_Timer() {
    platform_.metronomeBeat();
}

SoundPlan FrmTipora::soundPlan() const {
    SoundPlan plan;
    // Keys are checked, and the demonstration types, only while the practice runs unpaused.
    const bool practising = !state.Pauza && (state.LekceNactena || state.Ukazka);
    plan.beepsSoon =
        practising && (shared_.PipKlavesa.value() == 1 || shared_.PipChyba.value() == 1);
    if (form.tmrMetronom.enabled() && form.tmrMetronom.interval() > 0) {
        plan.beatMilliseconds = form.tmrMetronom.interval();
        plan.beatRestarts = form.tmrMetronom.restarts();
    }
    return plan;
}

} // namespace tipora
