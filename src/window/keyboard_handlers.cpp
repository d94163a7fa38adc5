// The on-screen keyboard follows the learner's hands; the Pause key pauses.
#include "ground/key_table.h"
#include "window/frm_tipora.h"

namespace tipora {

KeyLighting::Options FrmTipora::keyOptions() const {
    return {shared_.OdezvaKlaves == 1, shared_.TypKlavesnice == 1 || shared_.TypKlavesnice == 2};
}

void FrmTipora::Form_KeyDown(int k) {
    const Step step(*this);
    // The Pause key has no label, yet it must pause whether or not keys light up.
    if (k == kKeyPause) {
        session_.togglePause();
        return;
    }
    lighting_.keyDown(k, keyOptions());
}

void FrmTipora::Form_KeyUp(int k) {
    const Step step(*this);
    lighting_.keyUp(k, keyOptions());
}

} // namespace tipora
