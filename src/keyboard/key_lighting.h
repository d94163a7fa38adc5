#pragma once

#include "keyboard/key_marking.h"

#include <cstdint>
#include <optional>

namespace tipora {

// The on-screen keyboard under the hands: the key shown pressed (filed under the colour it had,
// so that its release gives that colour back), the Shift and Caps Lock captions, and the key the
// demonstration presses. It alone changes the lit keys' colours.
class KeyLighting {
public:
    explicit KeyLighting(KeyLabels& keys) : keys_(keys) {}

    // How the learner set the keyboard up: whether pressed keys light up, and whether Shift shows
    // the shifted signs on their keys.
    struct Options {
        bool lighting = false;
        bool shiftedCaptions = false;
    };

    // Back to how the window starts: nothing lit, Caps Lock off.
    void reset();

    // Lights a key, remembering its colour; false when the key has no label.
    bool light(int code); // RozsviceniKlavesy
    // The lit key gets its colour back.
    void putOut(); // ZhasnutiKlavesy
    // Before the whole keyboard is recoloured: a key held meanwhile would otherwise get the
    // colour of the keyboard before on its release.
    void putOutAll();
    bool anyLit() const { return litRed_ > 0 || litGreen_ > 0 || litWhite_ > 0; }

    void keyDown(int code, Options options);
    void keyUp(int code, Options options);

    // The demonstration presses the key of a character; false when no key shows it.
    bool pressForDemonstration(int code);
    // The flash of the demonstrated key is over.
    void releaseDemonstrated();

    int litWhite() const { return litWhite_; }                // KlavesaBila
    int litRed() const { return litRed_; }                    // KlavesaCervena
    int litGreen() const { return litGreen_; }                // KlavesaZelena
    std::int16_t demonstratedKey() const { return demoKey_; } // KlavesaUkazky
    bool capsLock() const { return capsLock_; }               // CapsLock

private:
    Control* label(int code);
    void setLetterCase(bool upper);
    void setShiftedCaptions(bool shifted);

    KeyLabels& keys_;
    int litWhite_ = 0;
    int litRed_ = 0;
    int litGreen_ = 0;
    std::int16_t demoKey_ = 1;
    bool capsLock_ = false;
    // The right Shift label's colour while Shift holds it black, so its release gives the
    // lesson's colour back.
    std::optional<Color> rightShiftColor_;
};

} // namespace tipora
