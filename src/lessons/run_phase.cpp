#include "lessons/run_phase.h"

namespace tipora {

Phase toggledPause(Phase phase) {
    switch (phase) {
    case Phase::Typing:
        return Phase::Paused;
    case Phase::Paused:
    case Phase::Held:
        return Phase::Typing;
    case Phase::Demonstration:
        return Phase::DemonstrationPaused;
    case Phase::DemonstrationPaused:
        return Phase::Demonstration;
    default:
        // Only a lesson the learner has begun, or a demonstration, has a clock to stop.
        return phase;
    }
}

const char* phaseName(Phase phase) {
    static constexpr std::array<const char*, kPhaseCount> names{"NoLesson",
                                                                "Ready",
                                                                "Typing",
                                                                "Paused",
                                                                "Held",
                                                                "Demonstration",
                                                                "DemonstrationPaused",
                                                                "Ended",
                                                                "EndedPaused",
                                                                "Unavailable"};
    return names[static_cast<std::size_t>(phase)];
}

} // namespace tipora
