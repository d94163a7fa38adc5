#include "history/lesson_recorder.h"

#include "ground/lesson_catalogue.h"
#include "history/history_texts.h"
#include "history/results_store.h"
#include "lessons/typing_rules.h"

#include <cmath>

namespace tipora {

std::optional<LessonResult> lessonResult(const LessonId& lesson, const PracticeCounters& atStart,
                                         const PracticeCounters& atEnd, LessonEnd end,
                                         int keyboardType, const QDateTime& when) {
    const bool course = lesson.kind == LessonId::Kind::Course;
    if (end == LessonEnd::Demonstration ||
        (course && (lesson.number < 1 || lesson.number > kLessonCount))) {
        return std::nullopt;
    }
    LessonResult r;
    r.lines = atEnd.lines - atStart.lines;
    r.keystrokes = atEnd.keystrokes - atStart.keystrokes;
    r.errors = atEnd.errors - atStart.errors;
    r.seconds = atEnd.seconds - atStart.seconds;
    // Counters that went down were cleared in between: the difference would be nonsense.
    if (r.lines <= 0 || r.keystrokes < 0 || r.errors < 0 || r.seconds < 0) {
        return std::nullopt;
    }
    r.when = when;
    r.kind = lesson.kind;
    r.lesson = course ? lesson.number : 0;
    r.caption = course ? lessonCaption(lesson.number) : lesson.name;
    r.keyboardType = keyboardType == 2 ? 2 : 1;
    r.keystrokesPerMinute = r.seconds > 0 ? keystrokesPerMinute(r.keystrokes, r.seconds) : 0;
    // The counter is a single; stored as a double it must still read 0.3, not 0.30000001.
    r.errorsPerLine =
        std::round(static_cast<double>(errorsPerLine(r.errors, r.lines)) * 10.0) / 10.0;
    r.finished = end == LessonEnd::Finished;
    return r;
}

void LessonRecorder::lessonStarted(const LessonId& lesson, const PracticeCounters& now) {
    lesson_ = lesson;
    keys_.clear();
    atStart_ = now;
    store_.prepare();
}

std::optional<QString> LessonRecorder::lessonEnded(const PracticeCounters& now, LessonEnd end,
                                                   int keyboardType) {
    if (!lesson_) {
        return std::nullopt;
    }
    const LessonId lesson = *lesson_;
    // One lesson, one result: a later end without a new start has nothing of its own.
    lesson_.reset();
    std::optional<LessonResult> result =
        lessonResult(lesson, atStart_, now, end, keyboardType, clock_());
    if (result) {
        result->keys = keys_.figures();
    }
    if (!result || store_.record(*result) || failureReported_) {
        return std::nullopt;
    }
    failureReported_ = true;
    return store_.failure();
}

std::optional<QString> LessonRecorder::examEnded(const QString& title, const ExamFigures& f,
                                                 int keyboardType) {
    LessonResult r;
    r.when = clock_();
    r.kind = LessonId::Kind::Exam;
    r.caption = texts::examCaption(title, f.minutes, f.penalty, f.grade);
    r.keyboardType = keyboardType == 2 ? 2 : 1;
    r.seconds = static_cast<int>(std::lround(f.minutesUsed * 60));
    r.keystrokes = f.grossStrokes;
    r.errors = f.errors;
    r.keystrokesPerMinute = static_cast<int>(std::lround(f.netPerMinute));
    r.finished = f.minutesUsed >= f.minutes;
    r.exam = f;
    if (store_.record(r) || failureReported_) {
        return std::nullopt;
    }
    failureReported_ = true;
    return store_.failure();
}

PracticeRecord LessonRecorder::practiceRecord() {
    PracticeRecord record;
    const QList<LessonResult> results = store_.results();
    for (const LessonResult& r : results) {
        if (r.kind == LessonId::Kind::Course && r.finished &&
            !record.finishedLessons.contains(r.lesson)) {
            record.finishedLessons.append(r.lesson);
        }
    }
    const std::optional<QList<KeyFigure>> keys = store_.keyFigures(KeyPeriod::everything());
    // A history that cannot be read says why; one whose key table alone is damaged simply has
    // no key figures.
    if (results.isEmpty() && !store_.failure().isEmpty()) {
        record.failure = store_.failure();
    }
    for (const KeyFigure& key : keys.value_or(QList<KeyFigure>())) {
        if (key.typed.isEmpty() && key.expected.size() == 1) {
            record.keys.append(
                {key.expected.front(), key.strokes, key.errors, key.timed, key.totalMs});
        }
    }
    return record;
}

} // namespace tipora
