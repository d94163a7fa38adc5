#pragma once

#include "app/platform.h"

#include <functional>

class QWidget;

namespace tipora {
class ExamSession;
struct ExamChoice;
} // namespace tipora

namespace tipora::ui {

// "Zkouška": the text, the time, the penalty and the learner's name; true on "Začít".
bool runExamDialog(ExamChoice& choice, QWidget* parent);
// The copy test: the original above, wrapped like a sheet of paper, the learner's text below,
// the time left beside Stop. Returns when the time is up (and the learner has seen it) or Stop
// ended it.
// The sounds of a copy test, as a lesson makes them: a key's beep, a tick of the metronome's
// timer, and what the sound card should be ready for.
struct ExamSound {
    std::function<void()> beep;
    std::function<void()> beat;
    std::function<void(const SoundPlan&)> plan;
};
void runExamWindow(ExamSession& exam, const ExamSound& sound, QWidget* parent);

} // namespace tipora::ui
