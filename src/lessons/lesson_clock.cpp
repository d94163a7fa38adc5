// The lesson clock, pausing and resuming, and the end of a lesson.
#include "app/display_rules.h"
#include "app/frm_tipora.h"
#include "app/platform.h"
#include "app/texts.h"
#include "ground/lesson_texts.h"
#include "keyboard/key_marking.h"

namespace tipora {

void FrmTipora::tmrTimeP_Timer() {
    ++state.TimeP;
    form.lblTimeP.text = lessonTimeText(state.TimeP, platform_.locale());
}

void FrmTipora::mnuPause_Click() {
    PracticeState& s = state;
    // Only a lesson the learner has begun typing, or a demonstration, has a clock to stop; a
    // demonstration's typing stops with it.
    if (!s.Spusteno && !s.Ukazka) {
        return;
    }
    const bool demonstrating = !s.Spusteno;
    const bool pausing = !s.Pauza;
    s.Pauza = pausing;
    form.lblPause.fore = pausing ? kRed : kWhite;
    form.tmrTimeP.setEnabled(!pausing);
    if (demonstrating) {
        form.tmrDemo.setEnabled(!pausing);
    }
    if (pausing) {
        form.tmrMetronom.setEnabled(false);
    } else {
        resumeMetronome();
    }
    form.mnuStop.enabled = !pausing;
}

void FrmTipora::lblPause_Click() {
    mnuPause_Click();
}

void FrmTipora::mnuStop_Click() {
    PracticeState& s = state;
    form.window.mousePointer = MousePointer::Hourglass;
    // The clocks stop before the question, so the time spent answering is not lesson time.
    form.tmrTimeP.setEnabled(false);
    form.tmrMetronom.setEnabled(false);
    form.tmrText.setEnabled(false);

    if (s.Ukazka) {
        form.tmrDemoClick.setEnabled(false);
        form.tmrDemo.setEnabled(false);
        form.imgVysunNahled.visible = true;
        // The demonstration showed its own counters; the learner's come back.
        s.TimeP = s.TimePZaloha.value_or(0);
        showStatistics();
    }
    form.txtPopisLekce.text = texts::kLessonEnd;
    form.lblZadani.text.clear();
    s.Spusteno = false;
    form.txtVstup.text.clear();
    // Until the next lesson is chosen, typing has no line to be checked against.
    s.LekceNactena = false;
    s.ChybaVRadku = false;

    // The lesson's result is kept before the question may clear the counters it comes from.
    const LessonEnd end = s.Ukazka       ? LessonEnd::Demonstration
                          : linesRanOut_ ? LessonEnd::Finished
                                         : LessonEnd::Stopped;
    linesRanOut_ = false;
    if (results_ != nullptr) {
        if (const auto failure =
                results_->lessonEnded(counters(), end, shared_.TypKlavesnice.value())) {
            platform_.messageBox(*failure, texts::kMessageTitle, MessageButtons::Ok);
        }
    }

    const MessageResult answer =
        platform_.messageBox(texts::kClearStatistics, texts::kMessageTitle, MessageButtons::YesNo);
    s.Odpoved = static_cast<int>(answer);
    if (answer == MessageResult::Yes) {
        MazaniPromennych();
    }

    // The cursor goes back to the first column; so does the column it stands for, which the
    // demonstration may have left past the end of the line that ended it.
    s.Pozice = 1;
    resetLinePosition();
    form.mnuLekce.enabled = true;
    form.mnuVysledky.enabled = true;
    // The lesson is over, so there is nothing left to demonstrate until the next one.
    form.mnuDemo.enabled = false;
    form.mnuPause.enabled = false;
    form.mnuStop.enabled = false;
    s.Ukazka = false;

    form.imgDalsi.visible = false;
    putOutLitKeys();
    clearKeyboard(form.lblKlavesa);
    form.window.mousePointer = MousePointer::Default;
}

} // namespace tipora
