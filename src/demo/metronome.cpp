#include "demo/metronome.h"

#include "app/promenne.h"

#include <algorithm>

namespace tipora {

int metronomeInterval(const SharedValue& tempo) {
    // Without a usable tempo (no settings file, or 0) the metronome keeps the tempo the bundled
    // settings use rather than divide by nothing; a hand-edited file cannot make it beep faster
    // than the settings dialog allows.
    const int beatsPerMinute = tempo.value() < kMetronomeMinTempo
                                   ? kMetronomeDefaultTempo
                                   : std::min(tempo.value(), kMetronomeMaxTempo);
    return 60000 / beatsPerMinute;
}

} // namespace tipora
