#pragma once

#include "window/frm_tipora.h"

namespace tipora::test {

// The main window's state under the names the program's behaviour is described with, read from
// the owners that keep it.
struct Observed {
    int Chyby;
    int Radky;
    float ChybyNaRadek;
    int Uhozy;
    std::int16_t UhozyVMin;
    int TimeP; // the demonstration's own time while it runs, as the lesson clock shows it
    QString Zadani;
    int Pozice;
    bool ChybaVRadku;
    QString Napsano;
    bool Pauza;
    bool Spusteno;
    bool LekceNactena;
    bool Ukazka;
    bool MetronomZapnut;
    bool PauzaPredNahledem;
    int KlavesaBila;
    int KlavesaCervena;
    int KlavesaZelena;
    std::int16_t KlavesaUkazky;
    bool CapsLock;
};

inline Observed observe(const FrmTipora& w) {
    const PracticeSession& s = w.session();
    const PracticeStatistics& f = s.statistics();
    const KeyLighting& k = w.keyLighting();
    return {f.errors(),
            f.lines(),
            f.errorsPerLine(),
            f.keystrokes(),
            f.keystrokesPerMinute(),
            s.demonstrating() ? w.demonstration().seconds() : f.seconds(),
            s.line().text(),
            s.line().column(),
            s.line().errorInLine(),
            s.transcript(),
            s.paused(),
            s.started(),
            s.lessonLoaded(),
            s.demonstrating(),
            s.metronomeSwitchedOn(),
            s.pausedBeforePreview(),
            k.litWhite(),
            k.litRed(),
            k.litGreen(),
            k.demonstratedKey(),
            k.capsLock()};
}

} // namespace tipora::test
