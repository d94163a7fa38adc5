// The timed copy test: chosen in its dialog, typed in its window, scored, kept in the history
// and shown with its result sheet.
#include "demo/metronome.h"
#include "exam/exam_session.h"
#include "lessons/drill_texts.h"
#include "window/frm_tipora.h"

#include <QFileInfo>

namespace tipora {

void FrmTipora::mnuZkouska_Click() {
    if (!session_.rules().lessonMenu) {
        return;
    }
    const Step step(*this);
    sync();
    ExamChoice choice;
    choice.texts = bundledExamTexts(files_.course);
    if (!platform_.chooseExam(choice)) {
        return;
    }
    ExamText text;
    if (!choice.ownFile.isEmpty()) {
        const std::optional<QString> contents = readLearnersFile(choice.ownFile);
        if (!contents) {
            return;
        }
        QString problem;
        bool plained = false;
        text = ownExamText(QFileInfo(choice.ownFile).fileName(), *contents, &problem, &plained);
        if (!problem.isEmpty()) {
            ask(problem, MessageButtons::Ok);
            return;
        }
        if (plained) {
            ask(texts::kTypographyPlained, MessageButtons::Ok);
        }
    } else if (choice.textIndex >= 0 && choice.textIndex < choice.texts.size()) {
        text = choice.texts[choice.textIndex];
    } else {
        return;
    }

    ExamSession exam(text, choice.minutes, choice.penalty,
                     [this] { return platform_.elapsedMilliseconds(); });
    const KeyLighting::Options keys = keyOptions();
    exam.feedback = {shared_.TypKlavesnice.value(),  keys.lighting,
                     keys.shiftedCaptions,           shared_.PipKlavesa == 1,
                     session_.metronomeSwitchedOn(), metronomeInterval(shared_.Metronom)};
    platform_.runExam(exam);
    exam.stop();
    if (!exam.started()) {
        return; // closed before the first key: nothing to score
    }
    const CopyTestFigures f = exam.figures();
    if (recording_ != nullptr) {
        const ExamFigures kept{
            exam.minutes(), exam.minutesUsed(), f.penalty,      f.grossStrokes,
            f.errors,       f.netStrokes,       f.netPerMinute, f.errorRateHundredths,
            f.grade};
        if (const std::optional<QString> failure =
                recording_->examEnded(text.title, kept, shared_.TypKlavesnice.value())) {
            ask(*failure, MessageButtons::Ok);
        }
    }
    platform_.showExamResult({choice.learner, {}, text.title, f, exam.marks()});
}

} // namespace tipora
