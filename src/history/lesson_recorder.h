#pragma once

#include "app/results_recording.h"
#include "history/key_tally.h"
#include "history/lesson_result.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

namespace tipora {

class ResultsStore;

// This lesson's own result, or nothing when no line was closed in it or it was a
// demonstration. A course lesson's caption comes from the catalogue, any other's is its name.
std::optional<LessonResult> lessonResult(const LessonId& lesson, const PracticeCounters& atStart,
                                         const PracticeCounters& atEnd, LessonEnd end,
                                         int keyboardType, const QDateTime& when);

// Follows the lessons of one run of the tutor and stores each one's result as it ends; reads
// the learner's record back for a drill.
class LessonRecorder final : public ResultsRecording, public PracticeHistory {
public:
    // The clock gives the local date and time a lesson ends at.
    LessonRecorder(ResultsStore& store, std::function<QDateTime()> clock)
        : store_(store), clock_(std::move(clock)) {}

    // A lesson was chosen: the counters it starts from. The store opens now, while the lesson's
    // files are read, rather than when the learner waits for the question at its end.
    void lessonStarted(const LessonId& lesson, const PracticeCounters& now) override;
    // Stores the ending lesson's result. Returns the store's failure message the first time
    // storing fails, so the learner hears of it once and the tutor goes on without the history.
    std::optional<QString> lessonEnded(const PracticeCounters& now, LessonEnd end,
                                       int keyboardType) override;
    // Counted in memory; written with the lesson's result.
    void keyChecked(const KeyCheck& check) override { keys_.count(check); }
    std::optional<QString> examEnded(const QString& title, const ExamFigures& figures,
                                     int keyboardType) override;
    // Every finished course lesson and every character's figures over the whole history.
    PracticeRecord practiceRecord() override;

private:
    ResultsStore& store_;
    std::function<QDateTime()> clock_;
    std::optional<LessonId> lesson_;
    PracticeCounters atStart_;
    KeyTally keys_;
    bool failureReported_ = false;
};

} // namespace tipora
