// The on-screen keyboard follows the learner's hands: the pressed key lights up, Shift and
// Caps Lock change the captions.
#include "keyboard/key_lighting.h"

#include "ground/key_table.h"
#include "ground/utf8.h"
#include "keyboard/shift_captions.h"

namespace tipora {

Control* KeyLighting::label(int code) {
    const auto found = keys_.find(code);
    return found == keys_.end() ? nullptr : &found->second;
}

void KeyLighting::reset() {
    litWhite_ = litRed_ = litGreen_ = 0;
    demoKey_ = 1;
    capsLock_ = false;
    rightShiftColor_.reset();
}

void KeyLighting::setLetterCase(bool upper) {
    for (int code = 'A'; code <= 'Z'; ++code) {
        if (Control* key = label(code)) {
            key->text = upper ? key->text.toUpper() : key->text.toLower();
        }
    }
}

void KeyLighting::setShiftedCaptions(bool shifted) {
    for (const ShiftCaption& caption : kShiftCaptions) {
        if (Control* key = label(caption.code)) {
            key->text = fromUtf8(shifted ? caption.shifted : caption.plain);
        }
    }
}

bool KeyLighting::light(int code) {
    Control* key = label(code);
    if (key == nullptr) {
        return false;
    }
    if (key->back == kRed) {
        litRed_ = code;
    } else if (key->back == kGreen) {
        litGreen_ = code;
    } else if (key->back == kWhite) {
        litWhite_ = code;
    }
    key->back = kBlack;
    key->fore = kWhite;
    return true;
}

void KeyLighting::putOut() {
    const auto restore = [this](int& code, Color color) {
        if (Control* key = label(code)) {
            key->back = color;
        }
        code = 0;
    };
    if (litRed_ > 0) {
        restore(litRed_, kRed);
    } else if (litGreen_ > 0) {
        restore(litGreen_, kGreen);
    } else if (litWhite_ > 0) {
        restore(litWhite_, kWhite);
    }
}

void KeyLighting::putOutAll() {
    // Enter lies outside the recoloured range, so a lit Enter gets its own colour back here.
    putOut();
    rightShiftColor_.reset();
}

void KeyLighting::keyDown(int code, Options options) {
    if (options.lighting && !anyLit() && !light(code)) {
        return;
    }
    if (code == kKeyShift) {
        if (Control* right = label(kKeyRightShift); options.lighting && right != nullptr) {
            // Remember its lesson colour once, not again on every repeat of a held Shift; black
            // is no lesson colour (the right Shift is lit as a key of its own, and its own
            // release gives its colour back).
            if (!rightShiftColor_ && right->back != kBlack) {
                rightShiftColor_ = right->back;
            }
            right->back = kBlack;
            right->fore = kWhite;
        }
        setLetterCase(!capsLock_);
        if (options.shiftedCaptions) {
            setShiftedCaptions(true);
        }
    } else if (code == kKeyCapsLock) {
        capsLock_ = !capsLock_;
        setLetterCase(capsLock_);
    }
}

void KeyLighting::keyUp(int code, Options options) {
    // A key lit before the settings switched the lighting off still goes dark on release.
    if (options.lighting || anyLit()) {
        putOut();
        Control* key = label(code);
        if (key == nullptr) {
            return;
        }
        key->fore = kBlack;
    }
    if (code == kKeyShift) {
        // Only a right Shift label that this Shift turned black has a colour to get back.
        if (Control* right = label(kKeyRightShift); rightShiftColor_ && right != nullptr) {
            right->back = *rightShiftColor_;
            right->fore = kBlack;
        }
        rightShiftColor_.reset();
        setLetterCase(capsLock_);
        if (options.shiftedCaptions) {
            setShiftedCaptions(false);
        }
    }
}

bool KeyLighting::pressForDemonstration(int code) {
    demoKey_ = static_cast<std::int16_t>(code);
    // One key is remembered as lit at a time: a key the learner still holds goes dark first, or
    // it would stay black for good once the demonstrated key took its place.
    putOut();
    return light(demoKey_);
}

void KeyLighting::releaseDemonstrated() {
    putOut();
    if (Control* key = label(demoKey_)) {
        key->fore = kBlack;
    }
}

} // namespace tipora
