// The on-screen keyboard follows the learner's hands: the pressed key lights up, Shift and
// Caps Lock change the captions, the Pause key pauses.
#include "app/frm_tipora.h"
#include "ground/key_table.h"
#include "ground/utf8.h"
#include "keyboard/shift_captions.h"

namespace tipora {

namespace {

void setLetterCase(FrmTiporaForm& form, bool upper) {
    for (int code = 'A'; code <= 'Z'; ++code) {
        if (Control* label = form.klavesa(code)) {
            label->text = upper ? label->text.toUpper() : label->text.toLower();
        }
    }
}

void setShiftedCaptions(FrmTiporaForm& form, bool shifted) {
    for (const ShiftCaption& caption : kShiftCaptions) {
        if (Control* label = form.klavesa(caption.code)) {
            label->text = fromUtf8(shifted ? caption.shifted : caption.plain);
        }
    }
}

} // namespace

bool FrmTipora::RozsviceniKlavesy(int code) {
    Control* label = form.klavesa(code);
    if (label == nullptr) {
        return false;
    }
    if (label->back == kRed) {
        state.KlavesaCervena = code;
    } else if (label->back == kGreen) {
        state.KlavesaZelena = code;
    } else if (label->back == kWhite) {
        state.KlavesaBila = code;
    }
    label->back = kBlack;
    label->fore = kWhite;
    return true;
}

void FrmTipora::ZhasnutiKlavesy() {
    PracticeState& s = state;
    const auto restore = [this](int& code, Color color) {
        if (Control* label = form.klavesa(code)) {
            label->back = color;
        }
        code = 0;
    };
    if (s.KlavesaCervena > 0) {
        restore(s.KlavesaCervena, kRed);
    } else if (s.KlavesaZelena > 0) {
        restore(s.KlavesaZelena, kGreen);
    } else if (s.KlavesaBila > 0) {
        restore(s.KlavesaBila, kWhite);
    }
}

void FrmTipora::putOutLitKeys() {
    // Enter lies outside the recoloured range, so a lit Enter gets its own colour back here.
    ZhasnutiKlavesy();
    state.rightShiftColor.reset();
}

void FrmTipora::Form_KeyDown(int k) {
    PracticeState& s = state;
    // The Pause key has no label, yet it must pause whether or not keys light up.
    if (k == kKeyPause) {
        mnuPause_Click();
        return;
    }
    const bool lighting = shared_.OdezvaKlaves == 1;
    if (lighting && s.KlavesaCervena == 0 && s.KlavesaZelena == 0 && s.KlavesaBila == 0 &&
        !RozsviceniKlavesy(k)) {
        return;
    }
    if (k == kKeyShift) {
        if (Control* right = form.klavesa(kKeyRightShift); lighting && right != nullptr) {
            // Remember its lesson colour once, not again on every repeat of a held Shift; black
            // is no lesson colour (the right Shift is lit as a key of its own, and its own
            // release gives its colour back).
            if (!s.rightShiftColor && right->back != kBlack) {
                s.rightShiftColor = right->back;
            }
            right->back = kBlack;
            right->fore = kWhite;
        }
        setLetterCase(form, !s.CapsLock);
        if (shared_.TypKlavesnice == 1 || shared_.TypKlavesnice == 2) {
            setShiftedCaptions(form, true);
        }
    } else if (k == kKeyCapsLock) {
        s.CapsLock = !s.CapsLock;
        setLetterCase(form, s.CapsLock);
    }
}

void FrmTipora::Form_KeyUp(int k) {
    PracticeState& s = state;
    const bool lighting = shared_.OdezvaKlaves == 1;
    // A key lit before the settings switched the lighting off still goes dark on release.
    const bool keyLit = s.KlavesaCervena > 0 || s.KlavesaZelena > 0 || s.KlavesaBila > 0;
    if (lighting || keyLit) {
        ZhasnutiKlavesy();
        Control* label = form.klavesa(k);
        if (label == nullptr) {
            return;
        }
        label->fore = kBlack;
    }
    if (k == kKeyShift) {
        // Only a right Shift label that this Shift turned black has a colour to get back.
        if (Control* right = form.klavesa(kKeyRightShift); s.rightShiftColor && right != nullptr) {
            right->back = *s.rightShiftColor;
            right->fore = kBlack;
        }
        s.rightShiftColor.reset();
        setLetterCase(form, s.CapsLock);
        if (shared_.TypKlavesnice == 1 || shared_.TypKlavesnice == 2) {
            setShiftedCaptions(form, false);
        }
    }
}

} // namespace tipora
