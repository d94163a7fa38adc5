#pragma once

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

// Where the main window reports the lessons it runs, for the results history.
class ResultsRecording {
public:
    virtual ~ResultsRecording() = default;

    // A lesson was chosen, with the counters as they stand.
    virtual void lessonStarted(int lesson, const PracticeCounters& now) = 0;
    // The lesson ended, before the learner is asked about clearing the counters. Returns a
    // message for the learner when its result could not be kept.
    virtual std::optional<QString> lessonEnded(const PracticeCounters& now, LessonEnd end,
                                               int keyboardType) = 0;
};

} // namespace tipora
