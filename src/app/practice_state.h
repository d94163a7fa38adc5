#pragma once

#include "app/form_model.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tipora {

// The main window's variables: statistics, progress in the lesson, run state and the keys the
// on-screen keyboard shows as pressed. Form_Load gives them these values.
struct PracticeState {
    // Statistics, adding up over lessons until the learner clears them.
    int Chyby = 0;                  // errors
    int Radky = 0;                  // lines finished
    float ChybyNaRadek = 0.0F;      // errors per line
    int Uhozy = 0;                  // keystrokes
    std::int16_t UhozyVMin = 0;     // keystrokes per minute
    int TimeP = 0;                  // lesson time in seconds; wide enough for any session
    std::optional<int> TimePZaloha; // the lesson time kept aside while a demonstration runs

    // Progress within the lesson.
    QString Zadani;           // the exercise line being typed
    int Pozice = 1;           // 1-based column of the next character to type
    bool ChybaVRadku = false; // an error in this line: Enter then repeats the line
    QString Napsano;          // what was typed in the finished lines, CR LF between
    QString RadekPopisu;      // the description line last read

    // Run state.
    bool Pauza = true;              // paused; nothing is counted before a lesson is chosen
    bool Spusteno = false;          // started: the learner has typed in this lesson
    bool LekceNactena = true;       // a lesson is loaded and its line can be typed
    bool Ukazka = false;            // a demonstration is running
    bool MetronomZapnut = false;    // the learner switched the metronome on
    bool PauzaPredNahledem = false; // whether it was paused before the preview slid out
    std::optional<QString> Vstup;   // the input line kept aside while the preview is out
    std::optional<int> Odpoved;     // the answer to "clear the statistics?"

    // On-screen keyboard: the key shown as pressed, filed under the colour it had before.
    int KlavesaBila = 0;            // lit key that was white
    int KlavesaCervena = 0;         // lit key that was red
    int KlavesaZelena = 0;          // lit key that was green
    std::int16_t KlavesaUkazky = 1; // the key the demonstration lit last
    bool CapsLock = false;
    // The right Shift label's colour while Shift holds it black, so its release gives the
    // lesson's colour back.
    std::optional<Color> rightShiftColor;
};

} // namespace tipora
