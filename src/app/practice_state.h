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
    int Chyby = 0;
    int Radky = 0;
    float ChybyNaRadek = 0.0F;
    int Uhozy = 0;
    std::int16_t UhozyVMin = 0;
    int TimeP = 0; // seconds; wide enough for any practice session
    std::optional<int> TimePZaloha;

    // Progress within the lesson.
    QString Zadani;
    int Pozice = 1; // 1-based column of the next character to type
    bool ChybaVRadku = false;
    QString Napsano;
    QString RadekPopisu;

    // Run state.
    bool Pauza = true; // nothing is counted before a lesson is chosen
    bool Spusteno = false;
    bool LekceNactena = true;
    bool Ukazka = false;
    bool MetronomZapnut = false;
    bool PauzaPredNahledem = false;
    std::optional<QString> Vstup;
    std::optional<int> Odpoved;

    // On-screen keyboard: the key shown as pressed, filed under the colour it had before.
    int KlavesaBila = 0;
    int KlavesaCervena = 0;
    int KlavesaZelena = 0;
    std::int16_t KlavesaUkazky = 1;
    bool CapsLock = false;
    // The right Shift label's colour while Shift holds it black, so its release gives the
    // lesson's colour back.
    std::optional<Color> rightShiftColor;
};

} // namespace tipora
