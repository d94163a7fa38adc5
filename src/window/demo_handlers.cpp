// The tutor types the lesson by itself, one character per step of tmrDemo; the metronome.
#include "demo/frm_demo.h"
#include "demo/metronome.h"
#include "keyboard/demo_keys.h"
#include "window/frm_tipora.h"

#include <algorithm>

namespace tipora {

void FrmTipora::mnuDemo_Click() {
    const Step step(*this);
    // A demonstration needs the lesson's lines; a lesson that failed to load offers none.
    if (session_.phase() != Phase::Ready) {
        return;
    }
    FrmDemo dialog(shared_, platform_);
    dialog.Form_Load();
    sync();
    platform_.showDemoDialog(dialog);
    const int speed = std::clamp<int>(shared_.RychlostUkazky, kDemoSpeedMin, kDemoSpeedMax);

    demo_.start(speed);
    session_.startDemonstration();
    form.imgDalsi.visible = false;
    form.imgVysunNahled.visible = false;
    form.tmrDemo.setInterval(demo_.stepMilliseconds());
}

void FrmTipora::tmrDemo_Timer() {
    const Step step(*this);
    const ExerciseLine& line = session_.line();
    if (!line.complete() && lighting_.pressForDemonstration(demoKeyCode(line.expected()))) {
        demo_.flash();
        session_.demonstrateKey();
        demo_.countKey();
        beepForKey();
        return;
    }
    // The line is used up (or its next character has no key to press): bring the next one, as
    // a typist finishing the line would.
    const SourceLine next = session_.demonstrationNextLine();
    if (next.kind == SourceLine::Kind::End) {
        stopLesson(false);
        return;
    }
    form.lblZadani.text = next.shown;
    demo_.countLine();
    beepForKey();
}

void FrmTipora::tmrDemoClick_Timer() {
    const Step step(*this);
    lighting_.releaseDemonstrated();
    demo_.flashOver();
}

void FrmTipora::imgMetronom_Click() {
    const Step step(*this);
    // The tempo is read when the metronome is switched on, not while it beats.
    if (session_.switchMetronome().value_or(false)) {
        form.tmrMetronom.setInterval(metronomeInterval(shared_.Metronom));
    }
}

void FrmTipora::tmrMetronom_Timer() {
    platform_.metronomeBeat();
}

SoundPlan FrmTipora::soundPlan() const {
    SoundPlan plan;
    // Keys are checked, and the demonstration types, only while the practice runs unpaused.
    plan.beepsSoon = session_.rules().beepsSoon &&
                     (shared_.PipKlavesa.value() == 1 || shared_.PipChyba.value() == 1);
    if (form.tmrMetronom.enabled() && form.tmrMetronom.interval() > 0) {
        plan.beatMilliseconds = form.tmrMetronom.interval();
        plan.beatRestarts = form.tmrMetronom.restarts();
    }
    return plan;
}

} // namespace tipora
