#pragma once

#include "app/results_recording.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace tipora {

// How one character fared in a lesson. Its own row (no `typed`) counts every key typed where it
// was due and the wrong ones among them, and the milliseconds from the key before to each right
// one that had a key before it (`timed` of them). A row naming `typed` counts the errors where
// that character came instead.
struct KeyFigure {
    QString expected; // "\n" for the Enter that closes a line
    QString typed;
    int strokes = 0;
    int errors = 0;
    int timed = 0;
    qint64 totalMs = 0;

    friend bool operator==(const KeyFigure&, const KeyFigure&) = default;
};

// What one lesson leaves in the history: its own share of the counters, not the running totals
// the main window shows.
struct LessonResult {
    QDateTime when;       // when the lesson ended, to the second; read back as UTC
    int lesson = 0;       // 1 … 50 for the course, 0 for anything else
    QString caption;      // for a drill, the keys it drilled
    int keyboardType = 1; // 1 "česká", 2 "česká (QWERTY)"
    int seconds = 0;      // the lesson's own typing time
    int keystrokes = 0;
    int errors = 0;
    int lines = 0;
    int keystrokesPerMinute = 0;
    double errorsPerLine = 0.0; // one decimal
    bool finished = false;      // the lesson ran to its end rather than being stopped
    QList<KeyFigure> keys;      // the learner's keys, a row per character and per confusion
    LessonId::Kind kind = LessonId::Kind::Course;
    std::optional<ExamFigures> exam; // a copy test's own figures

    friend bool operator==(const LessonResult&, const LessonResult&) = default;
};

// Which results a key count covers.
struct KeyPeriod {
    enum class Kind { LastLesson, Since, Everything };
    Kind kind = Kind::Everything;
    QDateTime since; // Since: the results that ended at or after it

    static KeyPeriod lastLesson() { return {Kind::LastLesson, {}}; }
    static KeyPeriod from(const QDateTime& since) { return {Kind::Since, since}; }
    static KeyPeriod everything() { return {Kind::Everything, {}}; }
};

} // namespace tipora
