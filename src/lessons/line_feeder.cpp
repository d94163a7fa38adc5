// Bringing the lesson's lines onto the screen one at a time.
#include "app/frm_tipora.h"
#include "ground/lesson_texts.h"

namespace tipora {

void FrmTipora::NactiDalsiRadek() {
    QString line;
    if (exerciseFile_.readLine(line)) {
        state.Zadani = line;
    }
    // The next lesson's header, or the end of the file, ends this lesson unseen.
    if (state.Zadani.startsWith(texts::kHeaderPrefix) || exerciseFile_.atEnd()) {
        endOfLines();
        return;
    }
    showLine();
}

void FrmTipora::endOfLines() {
    linesRanOut_ = true;
    mnuStop_Click();
}

void FrmTipora::imgDalsi_Click() {
    state.Pozice = 1;
    form.txtVstup.text.clear();
    resetLinePosition();
    // A skipped line's error stays with it.
    state.ChybaVRadku = false;
    NactiDalsiRadek();
}

void FrmTipora::tmrText_Timer() {
    form.tmrText.setEnabled(false);
    // Once the lesson has ended (the learner skipped to its end during the message), the
    // message has nothing left to give way to.
    if (!state.LekceNactena) {
        return;
    }
    if (!exerciseFile_.readLine(state.Zadani)) {
        // A message as the very last line of the file: nothing follows, so the lesson is over.
        endOfLines();
        return;
    }
    form.lblZadani.text = state.Zadani;
    // The new line is typed from its start: whatever was typed meanwhile (the message itself, in
    // a lesson not yet begun or a demonstration, or a line skipped to) belonged to another line.
    state.Pozice = 1;
    form.txtVstup.text.clear();
    resetLinePosition();
    form.mnuStop.enabled = true;
    mnuPause_Click();
}

} // namespace tipora
