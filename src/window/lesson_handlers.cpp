// Choosing a lesson, typing it, its lines, its clock, pausing and its end.
#include "app/display_rules.h"
#include "app/texts.h"
#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"
#include "ground/lesson_file.h"
#include "ground/lesson_texts.h"
#include "ground/text_decoding.h"
#include "ground/windows1250.h"
#include "keyboard/key_marking.h"
#include "lessons/course_lesson.h"
#include "lessons/drill_texts.h"
#include "lessons/own_text.h"
#include "lessons/weak_key_drill.h"
#include "window/frm_tipora.h"

#include <QFile>
#include <QFileInfo>

namespace tipora {

void FrmTipora::resetEnterMark() {
    form.lblEnter.fore = kBlack;
    form.lblEnter.geometry.left = kEnterMarkRestLeft;
}

void FrmTipora::beginLesson(const LessonId& lesson, const QString& caption) {
    form.window.mousePointer = MousePointer::Hourglass;
    form.imgDalsi.visible = true;
    form.lblZadani.text.clear();
    form.txtPopisLekce.text.clear();
    // Also hides a return arrow left by a line the last lesson ended on.
    resetEnterMark();
    form.txtVstup.fore = kWhite;
    session_.startLesson(lesson);
    form.window.title = texts::lessonWindowTitle(caption);
    lighting_.putOutAll();
}

void FrmTipora::mnuLekce_Click(int number) {
    const Step step(*this);
    beginLesson(LessonId::course(number), lessonCaption(number));
    markLesson(number, form.lblKlavesa);

    auto lesson = std::make_unique<CourseLesson>(number);
    const CourseLesson::Failure failure = lesson->open(files_.course);
    form.txtPopisLekce.text = lesson->description();
    if (failure.problem == LessonFile::Problem::None) {
        showLine(session_.useSource(std::move(lesson)));
    } else {
        session_.lessonUnavailable();
        const QString message = failure.problem == LessonFile::Problem::TooLarge
                                    ? texts::lessonFileTooLarge(failure.file, kMaxLessonFileBytes)
                                    : texts::lessonFilesMissing(lessonExerciseFile(number));
        ask(message, MessageButtons::Ok);
        form.lblZadani.text = texts::kError;
    }
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::mnuSlabeKlavesy_Click() {
    if (!session_.rules().lessonMenu) {
        return;
    }
    const Step step(*this);
    form.window.mousePointer = MousePointer::Hourglass;
    const PracticeRecord record =
        history_ != nullptr ? history_->practiceRecord() : PracticeRecord{};
    WeakKeyDrill drill;
    if (record.failure) {
        drill.refusal = *record.failure;
    } else {
        // A new drill each time, so that the learner does not learn the lines by heart.
        drill = weakKeyDrill(record, courseWords(files_.course),
                             static_cast<quint32>(platform_.elapsedMilliseconds()));
    }
    form.window.mousePointer = MousePointer::Default;
    if (!drill.refusal.isEmpty()) {
        ask(drill.refusal, MessageButtons::Ok);
        return;
    }
    const QString name = texts::weakKeyDrillName(drill.weakKeys);
    startText({LessonId::Kind::Drill, 0, name}, drill.lines, drill.taughtKeyCodes,
              drill.weakKeyCodes, texts::weakKeyDrillDescription(drill.weakKeys));
}

void FrmTipora::mnuVlastniText_Click() {
    if (!session_.rules().lessonMenu) {
        return;
    }
    const Step step(*this);
    sync();
    const QString path = platform_.chooseTextFile();
    if (path.isEmpty()) {
        return;
    }
    const std::optional<QString> contents = readLearnersFile(path);
    if (!contents) {
        return;
    }
    const QFileInfo info(path);
    const OwnText own = prepareOwnText(*contents, kDrillLineLength);
    if (!own.problem.isEmpty()) {
        ask(own.problem, MessageButtons::Ok);
        return;
    }
    startText({LessonId::Kind::OwnText, 0, info.fileName()}, own.lines, own.keyCodes, {},
              texts::ownTextDescription(info.fileName()));
    if (own.plainedTypography) {
        ask(texts::kTypographyPlained, MessageButtons::Ok);
    }
}

std::optional<QString> FrmTipora::readLearnersFile(const QString& path) {
    // Only a regular file is read: a pipe or a device would never end.
    const QFileInfo info(path);
    QFile file(path);
    if (info.isFile() && info.size() > kMaxLessonFileBytes) {
        ask(texts::lessonFileTooLarge(info.fileName(), kMaxLessonFileBytes), MessageButtons::Ok);
        return std::nullopt;
    }
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        ask(texts::ownTextNotRead(info.fileName()), MessageButtons::Ok);
        return std::nullopt;
    }
    return decodeText(file.read(kMaxLessonFileBytes)).text;
}

void FrmTipora::startText(const LessonId& lesson, const QStringList& lines,
                          const std::vector<int>& green, const std::vector<int>& red,
                          const QString& description) {
    beginLesson(lesson, lesson.name);
    whitenKeyboard(form.lblKlavesa);
    for (const auto& [codes, colour] : {std::pair(&green, kGreen), std::pair(&red, kRed)}) {
        for (const int code : *codes) {
            if (Control* key = form.klavesa(code); key != nullptr && code != kKeyEnter) {
                key->back = colour;
            }
        }
    }
    form.txtPopisLekce.text = description;
    showLine(session_.useSource(std::make_unique<TextLines>(lines)));
    form.window.mousePointer = MousePointer::Default;
}

// An exercise line goes to the exercise row, a message line for its three seconds; the end of
// the lines ends the lesson.
void FrmTipora::showLine(const SourceLine& line) {
    if (line.kind == SourceLine::Kind::End) {
        stopLesson(true);
        return;
    }
    form.lblZadani.text = line.shown;
}

void FrmTipora::beepForKey() {
    if (shared_.PipKlavesa == 1) {
        platform_.beep();
    }
}

void FrmTipora::Form_KeyPress(int KeyAscii) {
    const Step step(*this);
    if (!isTypedCharacterCode(KeyAscii) || session_.demonstrating() || session_.previewOut()) {
        return;
    }
    if (const std::optional<PracticeSession::Typed> typed = session_.typeKey(KeyAscii)) {
        afterKey(*typed);
    }
    // After Stop the finished line is gone from the row; an arrow would point at nothing.
    if (session_.lessonLoaded() && session_.line().complete()) {
        form.lblEnter.fore = kWhite;
        form.lblEnter.geometry.left = columnLeft(session_.line().column());
    }
}

void FrmTipora::afterKey(const PracticeSession::Typed& typed) {
    switch (typed.check.outcome) {
    case KeyOutcome::Accepted:
        beepForKey();
        break;
    case KeyOutcome::LineClosed:
        resetEnterMark();
        beepForKey();
        if (typed.nextLineDue) {
            NactiDalsiRadek();
        }
        break;
    case KeyOutcome::ErrorInLine:
    case KeyOutcome::ErrorAtLineEnd:
        beepForKey();
        if (shared_.PipChyba == 1) {
            platform_.beep();
        }
        break;
    case KeyOutcome::Ignored:
        break;
    }
}

void FrmTipora::NactiDalsiRadek() {
    showLine(session_.feedNextLine());
}

void FrmTipora::imgDalsi_Click() {
    const Step step(*this);
    resetEnterMark();
    showLine(session_.skipLine());
}

void FrmTipora::tmrText_Timer() {
    const Step step(*this);
    const std::optional<SourceLine> line = session_.endMessage();
    if (!line) {
        return;
    }
    if (line->kind == SourceLine::Kind::End) {
        stopLesson(true);
        return;
    }
    form.lblZadani.text = line->shown;
    resetEnterMark();
}

void FrmTipora::tmrTimeP_Timer() {
    const Step step(*this);
    if (session_.demonstrating()) {
        demo_.tick();
    } else {
        session_.tick();
    }
}

void FrmTipora::mnuPause_Click() {
    const Step step(*this);
    session_.togglePause();
}

void FrmTipora::lblPause_Click() {
    mnuPause_Click();
}

void FrmTipora::mnuStop_Click() {
    stopLesson(false);
}

void FrmTipora::stopLesson(bool linesRanOut) {
    const Step step(*this);
    form.window.mousePointer = MousePointer::Hourglass;
    if (session_.demonstrating()) {
        demo_.flashOver();
        form.imgVysunNahled.visible = true;
    }
    form.txtPopisLekce.text = texts::kLessonEnd;
    form.lblZadani.text.clear();
    resetEnterMark();

    // The clocks stop before the question, so the time spent answering is not lesson time; the
    // lesson's result is kept before the question may clear the counters it comes from.
    if (const std::optional<QString> failure =
            session_.stop(linesRanOut, shared_.TypKlavesnice.value())) {
        ask(*failure, MessageButtons::Ok);
    }
    if (ask(texts::kClearStatistics, MessageButtons::YesNo) == MessageResult::Yes) {
        MazaniPromennych();
    }

    form.imgDalsi.visible = false;
    lighting_.putOutAll();
    clearKeyboard(form.lblKlavesa);
    form.window.mousePointer = MousePointer::Default;
}

} // namespace tipora
