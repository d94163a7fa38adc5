#pragma once

#include "history/lesson_result.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace tipora {

class ResultsStore;

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

// This lesson's own result, or nothing when no line was closed in it or it was a
// demonstration. The lesson's caption comes from the catalogue.
std::optional<LessonResult> lessonResult(int lesson, const PracticeCounters& atStart,
                                         const PracticeCounters& atEnd, LessonEnd end,
                                         int keyboardType, const QDateTime& when);

// Follows the lessons of one run of the tutor and stores each one's result as it ends.
class LessonRecorder {
public:
    explicit LessonRecorder(ResultsStore& store) : store_(store) {}

    // A lesson was chosen: the counters it starts from. The store opens now, while the lesson's
    // files are read, rather than when the learner waits for the question at its end.
    void lessonStarted(int lesson, const PracticeCounters& now);
    // Stores the ending lesson's result. Returns the store's failure message the first time
    // storing fails, so the learner hears of it once and the tutor goes on without the history.
    std::optional<QString> lessonEnded(const PracticeCounters& now, LessonEnd end, int keyboardType,
                                       const QDateTime& when);

private:
    ResultsStore& store_;
    std::optional<int> lesson_;
    PracticeCounters atStart_;
    bool failureReported_ = false;
};

} // namespace tipora
