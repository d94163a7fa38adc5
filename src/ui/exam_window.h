#pragma once

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
void runExamWindow(ExamSession& exam, QWidget* parent);

} // namespace tipora::ui
