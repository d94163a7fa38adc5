// The tutor types the lesson by itself, one character per step of tmrDemo.
#include "app/display_rules.h"
#include "app/frm_tipora.h"
#include "app/platform.h"
#include "demo/frm_demo.h"
#include "ground/lesson_texts.h"
#include "keyboard/demo_keys.h"

namespace tipora {

namespace {
constexpr int kMinute = 60000;

// The statistics labels count the demonstration's own keystrokes and lines.
void countOnLabel(Control& label) {
    label.text = QString::number(label.text.toInt() + 1);
}
} // namespace

void FrmTipora::mnuDemo_Click() {
    // A demonstration needs the lesson's lines; a lesson that failed to load offers none.
    if (!state.LekceNactena || !exerciseFile_.isOpen()) {
        return;
    }
    FrmDemo dialog(shared_, platform_);
    dialog.Form_Load();
    platform_.showDemoDialog(dialog);
    const int speed = std::clamp<int>(shared_.RychlostUkazky, kDemoSpeedMin, kDemoSpeedMax);

    const QString zero = QStringLiteral("0");
    form.lblChyby.text = zero;
    form.lblChybyNaRadek.text = zero;
    form.lblRadky.text = zero;
    form.lblUhozy.text = zero;
    form.lblUhozyVMin.text = QString::number(speed);

    state.TimePZaloha = state.TimeP;
    state.TimeP = 0;
    form.lblTimeP.text = lessonTimeText(0, platform_.locale());

    state.Ukazka = true;
    state.Pauza = false;

    form.imgDalsi.visible = false;
    form.mnuLekce.enabled = false;
    form.mnuVysledky.enabled = false;
    form.mnuDemo.enabled = false;
    form.mnuPause.enabled = true;
    form.mnuStop.enabled = true;
    form.tmrTimeP.setEnabled(true);
    form.imgVysunNahled.visible = false;
    resumeMetronome();
    form.tmrDemo.setInterval(kMinute / speed);
    form.tmrDemo.setEnabled(true);
}

void FrmTipora::tmrDemo_Timer() {
    PracticeState& s = state;
    if (s.Pozice <= s.Zadani.size()) {
        const QChar c = s.Zadani.at(s.Pozice - 1);
        s.KlavesaUkazky = static_cast<std::int16_t>(demoKeyCode(c));
        // One key is remembered as lit at a time: a key the learner still holds goes dark
        // first, or it would stay black for good once the demonstrated key took its place.
        ZhasnutiKlavesy();
        if (RozsviceniKlavesy(s.KlavesaUkazky)) {
            form.tmrDemoClick.setEnabled(true);
            form.txtVstup.text += c;
            ++s.Pozice;
            countOnLabel(form.lblUhozy);
            beepForKey();
            form.shpKurzor.geometry.left += kColumnWidth;
            return;
        }
    }

    // The line is used up: bring the next one, as a typist finishing the line would.
    if (exerciseFile_.atEnd() || !exerciseFile_.readLine(s.Zadani) ||
        s.Zadani.startsWith(texts::kHeaderPrefix)) {
        mnuStop_Click();
        return;
    }
    showLine();
    form.txtVstup.text.clear();
    s.Pozice = 1;
    form.shpKurzor.geometry.left = kFirstColumnLeft;
    countOnLabel(form.lblRadky);
    beepForKey();
}

void FrmTipora::tmrDemoClick_Timer() {
    ZhasnutiKlavesy();
    if (Control* key = form.klavesa(state.KlavesaUkazky)) {
        key->fore = kBlack;
    }
    form.tmrDemoClick.setEnabled(false);
}

} // namespace tipora
