#pragma once

#include <array>
#include <cstddef>

namespace tipora {

// Where the practice stands: one value instead of a handful of flags that must agree.
enum class Phase {
    NoLesson,            // after start-up: nothing chosen, paused so that nothing counts
    Ready,               // a lesson is loaded and waits for its first key
    Typing,              // the learner has begun: the lesson clock runs
    Paused,              // by the learner, by a message line or by settings
    Held,                // paused by the preview panel, the menus left as they were
    Demonstration,       // the tutor types the lesson
    DemonstrationPaused, //
    Ended,               // after Stop or the last line: the next lesson is chosen
    EndedPaused,         // ended during a pause, which lasts until the next lesson
    Unavailable,         // the lesson's files could not be read: nothing to type
};
inline constexpr std::size_t kPhaseCount = 10;

// What a phase means for the window: the flags the program's handlers speak of, and which menu
// items and timers it enables.
struct PhaseRules {
    bool paused;       // Pauza: keys are not checked, the metronome cannot be switched
    bool started;      // Spusteno: the learner's first key has come
    bool lessonLoaded; // LekceNactena: keys are checked against a line
    bool demonstrating;
    bool lessonMenu; // mnuLekce, and mnuVysledky with it: only between lessons
    bool stop;       // mnuStop, unless a message line holds it
    bool pause;      // mnuPause
    bool demo;       // mnuDemo
    bool lessonClock;
    bool demoSteps;
    bool beepsSoon; // a key, error or demonstration beep can come at any moment
};

// clang-format off
inline constexpr std::array<PhaseRules, kPhaseCount> kPhaseRules{{
    //  paused started loaded  demo    lessons stop   pause  demo   clock  steps  beeps
    {true,  false, true,  false, true,  false, false, false, false, false, false}, // NoLesson
    {false, false, true,  false, true,  true,  true,  true,  false, false, true }, // Ready
    {false, true,  true,  false, false, true,  true,  false, true,  false, true }, // Typing
    {true,  true,  true,  false, false, false, true,  false, false, false, false}, // Paused
    {true,  true,  true,  false, false, true,  true,  false, false, false, false}, // Held
    {false, false, true,  true,  false, true,  true,  false, true,  true,  true }, // Demonstration
    {true,  false, true,  true,  false, false, true,  false, false, false, false}, // DemonstrationPaused
    {false, false, false, false, true,  false, false, false, false, false, false}, // Ended
    {true,  false, false, false, true,  false, false, false, false, false, false}, // EndedPaused
    {false, false, false, false, true,  true,  true,  false, false, false, false}, // Unavailable
}};
// clang-format on

constexpr const PhaseRules& rulesOf(Phase phase) {
    return kPhaseRules[static_cast<std::size_t>(phase)];
}

// The phase that the pause toggle leads to; the same phase where it has nothing to pause.
Phase toggledPause(Phase phase);

const char* phaseName(Phase phase);

} // namespace tipora
