#pragma once

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
// `beep` sounds a key when the learner has key beeps on.
void runExamWindow(ExamSession& exam, const std::function<void()>& beep, QWidget* parent);

} // namespace tipora::ui
