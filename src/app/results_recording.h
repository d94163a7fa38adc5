#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <optional>

namespace tipora {

// The main window's counters at one moment. They add up over lessons until the learner clears
// them, so a lesson's own share is the difference between its end and its start.
struct PracticeCounters {
    int keystrokes = 0;
    int errors = 0;
    int lines = 0;
    int seconds = 0;
};

// How a lesson came to its end.
enum class LessonEnd {
    Finished,     // its lines ran out
    Stopped,      // the learner chose Stop
    Demonstration // the tutor typed it; nothing of it is the learner's
};

// What is being practised. A lesson of the course is known by its number; a text that is not
// in the course (a drill made for the learner, a text of their own) by its kind and name.
struct LessonId {
    enum class Kind { Course, Drill, OwnText, Exam };
    Kind kind = Kind::Course;
    int number = 0; // 1 … 50 for the course
    QString name;
    bool operator==(const LessonId&) const = default;

    static LessonId course(int number) { return {Kind::Course, number, {}}; }
};

// What one typed character did to the exercise line.
enum class KeyOutcome {
    Accepted,       // the expected character: the column moves on
    ErrorInLine,    // a wrong character, or Enter before the line was complete
    ErrorAtLineEnd, // the line was complete and the key was not Enter
    LineClosed,     // Enter after a complete line
    Ignored,        // Backspace, Tab or Esc inside the line
};

// One checked key, as the exercise line saw it.
struct KeyCheck {
    KeyOutcome outcome = KeyOutcome::Ignored;
    QChar expected;             // the character due (null at the end of the line: Enter is due)
    int typed = 0;              // the Windows-1250 code typed (13 Enter, -1 outside the code page)
    qint64 sinceLastKey = -1;   // milliseconds since the previous accepted key, -1 for the first
    bool demonstration = false; // typed by the tutor, not the learner
};

// A copy test's figures as the history keeps them.
struct ExamFigures {
    int minutes = 10; // the time set
    double minutesUsed = 0.0;
    int penalty = 10;
    int grossStrokes = 0;
    int errors = 0;
    int netStrokes = 0;
    double netPerMinute = 0.0;
    int errorRateHundredths = 0;
    std::optional<int> grade; // 0 not passed
    bool operator==(const ExamFigures&) const = default;
};

// Where a practice session reports what the learner does: the results history and, later,
// anything else that keeps figures. Only the learner's own typing is reported.
class ResultsRecording {
public:
    virtual ~ResultsRecording() = default;

    // A lesson was chosen, with the counters as they stand.
    virtual void lessonStarted(const LessonId& lesson, const PracticeCounters& now) = 0;
    // Every key the learner typed that the exercise line checked.
    virtual void keyChecked(const KeyCheck& /*check*/) {}
    // A line was closed with Enter, with the counters after it.
    virtual void lineClosed(const PracticeCounters& /*now*/) {}
    // The lesson ended, before the learner is asked about clearing the counters. Returns a
    // message for the learner when its result could not be kept.
    virtual std::optional<QString> lessonEnded(const PracticeCounters& now, LessonEnd end,
                                               int keyboardType) = 0;
    // A copy test ended, scored; a message for the learner when it could not be kept.
    virtual std::optional<QString> examEnded(const QString& /*title*/, const ExamFigures& /*f*/,
                                             int /*keyboardType*/) {
        return std::nullopt;
    }
};

// How one character fared over the whole history, where the learner typed it.
struct KeyRecord {
    QChar character;
    int strokes = 0;
    int errors = 0;
    int timed = 0; // right keys that had a key before them
    qint64 totalMs = 0;
};

// What the history knows of the learner, for a drill made of their weak keys.
struct PracticeRecord {
    QList<int> finishedLessons; // course lessons run to their end, each once
    QList<KeyRecord> keys;
    std::optional<QString> failure; // the history could not be read: the message for the learner
};

// Where the main window asks for the learner's record.
class PracticeHistory {
public:
    virtual ~PracticeHistory() = default;
    virtual PracticeRecord practiceRecord() = 0;
};

} // namespace tipora
