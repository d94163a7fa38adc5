// Choosing a lesson: the main window's lesson start and its two lesson files.
#include "app/frm_tipora.h"
#include "app/platform.h"
#include "app/texts.h"
#include "ground/lesson_catalogue.h"
#include "ground/lesson_texts.h"
#include "keyboard/key_marking.h"

namespace tipora {

void FrmTipora::SetLekce() {
    closeAllFiles();
    form.imgDalsi.visible = true;
    form.lblZadani.text.clear();
    form.txtVstup.text.clear();
    form.txtPopisLekce.text.clear();
    state.Pozice = 1;
    // Also hides a return arrow left by a line the last lesson ended on.
    resetLinePosition();
    form.mnuStop.enabled = true;
    form.mnuPause.enabled = true;
    form.mnuDemo.enabled = true;
    state.LekceNactena = true;
    // A new line starts clean: an error in the last lesson's line is not this line's error.
    state.ChybaVRadku = false;
    state.Pauza = false;
    // A message of the lesson left behind must not, when its three seconds are up, replace the
    // new lesson's first line with its second.
    form.tmrText.setEnabled(false);
    // A metronome the learner switched on beats again with the new lesson, even after a Stop
    // silenced it: what the loudspeaker says and what is heard agree.
    resumeMetronome();
    form.txtVstup.fore = kWhite;
}

void FrmTipora::mnuLekce_Click(int number) {
    form.window.mousePointer = MousePointer::Hourglass;
    SetLekce();
    if (results_ != nullptr) {
        results_->lessonStarted(number, counters());
    }
    form.window.title = texts::lessonWindowTitle(lessonCaption(number));
    putOutLitKeys();
    markLesson(number, form.lblKlavesa);

    LessonFile::Problem problem = readDescription(number);
    QString failedFile = texts::kDescriptionFile;
    if (problem == LessonFile::Problem::None) {
        problem = openExercise(number);
        failedFile = lessonExerciseFile(number);
    }
    if (problem != LessonFile::Problem::None) {
        const QString message = problem == LessonFile::Problem::TooLarge
                                    ? texts::lessonFileTooLarge(failedFile, kMaxLessonFileBytes)
                                    : texts::lessonFilesMissing(lessonExerciseFile(number));
        platform_.messageBox(message, texts::kMessageTitle, MessageButtons::Ok);
        form.lblZadani.text = texts::kError;
        state.LekceNactena = false;
        // There is nothing to demonstrate without the lesson's lines.
        form.mnuDemo.enabled = false;
    }
    form.window.mousePointer = MousePointer::Default;
}

LessonFile::Problem FrmTipora::readDescription(int number) {
    using Problem = LessonFile::Problem;
    LessonFile file;
    if (!file.open(dataPath(texts::kDescriptionFile))) {
        return file.problem();
    }
    if (!file.skipPastLine(lessonHeader(number).toLatin1()) || !file.readLine(state.RadekPopisu)) {
        return Problem::Missing;
    }
    form.txtPopisLekce.text = state.RadekPopisu;
    // The last lesson's description runs to the end of the file; the others end at the next
    // line that begins with LEKCE, which must be there.
    const bool toTheEnd = number == kLessonCount;
    for (;;) {
        if (!file.readLine(state.RadekPopisu)) {
            return toTheEnd ? Problem::None : Problem::Missing;
        }
        if (!toTheEnd && state.RadekPopisu.startsWith(texts::kHeaderPrefix)) {
            return Problem::None;
        }
        form.txtPopisLekce.text += QStringLiteral("\r\n") + state.RadekPopisu;
    }
}

LessonFile::Problem FrmTipora::openExercise(int number) {
    using Problem = LessonFile::Problem;
    if (!exerciseFile_.open(dataPath(lessonExerciseFile(number)))) {
        return exerciseFile_.problem();
    }
    if (!exerciseFile_.skipPastLine(lessonHeader(number).toLatin1()) ||
        !exerciseFile_.readLine(state.Zadani) || state.Zadani.startsWith(texts::kHeaderPrefix)) {
        // No line to type before the next lesson: the file is damaged.
        return Problem::Missing;
    }
    showLine();
    return Problem::None;
}

// An exercise line goes to the exercise row; a message line shows its text for three seconds
// with the lesson paused.
void FrmTipora::showLine() {
    if (state.Zadani.startsWith(texts::kMessagePrefix)) {
        mnuPause_Click();
        form.mnuStop.enabled = false;
        form.lblZadani.text = state.Zadani.mid(texts::kMessagePrefix.size());
        form.tmrText.setEnabled(true);
    } else {
        form.lblZadani.text = state.Zadani;
    }
}

} // namespace tipora
