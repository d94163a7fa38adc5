// Checking what the learner types against the exercise line.
#include "app/display_rules.h"
#include "app/frm_tipora.h"
#include "app/platform.h"
#include "ground/key_table.h"
#include "ground/windows1250.h"
#include "lessons/typing_rules.h"

namespace tipora {

namespace {

bool isOrdinary(int key) {
    return key != kKeyBackspace && key != kKeyTab && key != kKeyEnter && key != kKeyEscape;
}

QString characterOf(int code) {
    const char byte = static_cast<char>(code);
    return fromWindows1250(QByteArrayView(&byte, 1));
}

} // namespace

void FrmTipora::Form_KeyPress(int KeyAscii) {
    PracticeState& s = state;
    // The demonstration is typing this line; the learner's keys would break its column. While
    // the preview is out, the input line shows the transcript, not the line being typed.
    if (s.Ukazka || previewIsOut() || !isTypedCharacterCode(KeyAscii)) {
        return;
    }
    if (!s.Pauza && s.LekceNactena) {
        if (!s.Spusteno) {
            form.tmrTimeP.setEnabled(true);
            form.mnuDemo.enabled = false;
            form.mnuLekce.enabled = false;
            form.mnuVysledky.enabled = false;
            form.mnuPause.enabled = true;
            form.mnuStop.enabled = true;
            s.Spusteno = true;
        }
        const bool complete = s.Pozice > s.Zadani.size();
        if (!complete && isOrdinary(KeyAscii) && KeyAscii >= 0 &&
            windows1250Code(QStringView(s.Zadani).sliced(s.Pozice - 1, 1)) == KeyAscii) {
            form.txtVstup.text += characterOf(KeyAscii);
            ++s.Pozice;
            ++s.Uhozy;
            form.lblUhozy.text = counterText(s.Uhozy);
            recomputeKeystrokesPerMinute();
            beepForKey();
            form.shpKurzor.geometry.left += kColumnWidth;
        } else if (complete && KeyAscii == kKeyEnter) {
            closeLine();
        } else if (complete || isOrdinary(KeyAscii) || KeyAscii == kKeyEnter) {
            // A wrong character, Enter too early, or any other key past the end of the line.
            countError();
        }
        // Backspace, Tab and Esc inside the line are ignored.
    }

    // After Stop the finished line is gone from the row; an arrow would point at nothing.
    if (s.LekceNactena && s.Pozice > s.Zadani.size()) {
        form.lblEnter.fore = kWhite;
        form.lblEnter.geometry.left = form.shpKurzor.geometry.left;
    }
}

void FrmTipora::beepForKey() {
    if (shared_.PipKlavesa == 1) {
        platform_.beep();
    }
}

void FrmTipora::countError() {
    beepForKey();
    if (shared_.PipChyba == 1) {
        platform_.beep();
    }
    state.ChybaVRadku = true;
    ++state.Chyby;
    form.lblChyby.text = counterText(state.Chyby);
}

void FrmTipora::closeLine() {
    PracticeState& s = state;
    if (s.Napsano.isEmpty()) {
        s.Napsano = form.txtVstup.text;
    } else {
        s.Napsano += QStringLiteral("\r\n") + form.txtVstup.text;
    }
    form.txtVstup.text.clear();
    ++s.Uhozy;
    form.lblUhozy.text = counterText(s.Uhozy);
    recomputeKeystrokesPerMinute();
    s.Pozice = 1;
    ++s.Radky;
    form.lblRadky.text = counterText(s.Radky);
    s.ChybyNaRadek = errorsPerLine(s.Chyby, s.Radky);
    form.lblChybyNaRadek.text = errorsPerLineText(s.ChybyNaRadek, platform_.locale());
    resetLinePosition();
    beepForKey();
    if (!s.ChybaVRadku) {
        NactiDalsiRadek();
    } else {
        s.ChybaVRadku = false;
    }
}

void FrmTipora::recomputeKeystrokesPerMinute() {
    if (state.TimeP > 0) {
        state.UhozyVMin = keystrokesPerMinute(state.Uhozy, state.TimeP);
    }
    form.lblUhozyVMin.text = counterText(state.UhozyVMin);
}

void FrmTipora::resetLinePosition() {
    form.shpKurzor.geometry.left = kFirstColumnLeft;
    form.lblEnter.fore = kBlack;
    form.lblEnter.geometry.left = kEnterMarkRestLeft;
}

} // namespace tipora
