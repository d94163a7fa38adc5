#pragma once

#include "app/results_recording.h"
#include "lessons/exercise_line.h"
#include "lessons/line_source.h"
#include "lessons/practice_statistics.h"
#include "lessons/run_phase.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace tipora {

class Platform;

// One learner's practice in the main window: the run phase, the learner's figures, the line
// being typed and where the lesson's lines come from. The window asks it what to show and tells
// it what happened; nothing else changes these.
class PracticeSession {
public:
    // The platform's monotonic clock times the keys.
    explicit PracticeSession(const Platform& platform) : platform_(&platform) {}

    void setListener(ResultsRecording* listener) { listener_ = listener; }
    // Back to how the window starts, the listener kept.
    void reset();

    Phase phase() const { return phase_; }
    const PhaseRules& rules() const { return rulesOf(phase_); }
    bool paused() const { return rules().paused; }               // Pauza
    bool started() const { return rules().started; }             // Spusteno
    bool lessonLoaded() const { return rules().lessonLoaded; }   // LekceNactena
    bool demonstrating() const { return rules().demonstrating; } // Ukazka
    // A message line keeps Stop disabled from its start until the practice next moves on.
    bool stopEnabled() const { return rules().stop && !stopHeldByMessage_; }
    bool previewOut() const { return previewOut_; }
    bool pausedBeforePreview() const { return pausedBeforePreview_; } // PauzaPredNahledem

    // The metronome as the learner switched it (MetronomZapnut), whether it beats now, and how
    // often it started beating: a stop and a start between two looks start its beat afresh.
    bool metronomeSwitchedOn() const { return metronomeOn_; }
    bool metronomeBeating() const { return metronomeBeating_; }
    std::uint64_t metronomeStarts() const { return metronomeStarts_; }
    // A message line's three seconds, counted likewise.
    bool messageShowing() const { return messageShowing_; }
    std::uint64_t messageStarts() const { return messageStarts_; }

    // The rules the session keeps whatever happens, each broken one named; empty while sound.
    QStringList brokenRules() const;

    const ExerciseLine& line() const { return line_; }
    const PracticeStatistics& statistics() const { return statistics_; }
    // Everything typed in the finished lines, CR LF between them (Napsano).
    const QString& transcript() const { return transcript_; }

    // A lesson is chosen: a clean line, the practice running again, the listener told.
    void startLesson(const LessonId& lesson);
    // Its lines: shows the first one. Returns what the exercise row shows.
    SourceLine useSource(std::unique_ptr<LineSource> source);
    // Its lines could not be read: keys go unchecked until the next lesson.
    void lessonUnavailable();

    // One character typed by the learner (its Windows-1250 code). Nothing when keys are not
    // checked now. After a closed line, `nextLineDue` says whether a new line is to be brought
    // (a line with an error is typed again).
    struct Typed {
        KeyCheck check;
        bool nextLineDue = false;
    };
    std::optional<Typed> typeKey(int code);

    // The next line of the lesson; an End is the lesson's end, for the window to stop it.
    SourceLine feedNextLine();
    // The learner skips the line: the next one comes, the error of this one forgotten.
    SourceLine skipLine();
    // A message's time is up: the line after it, taken as it stands, and the pause toggled back.
    // Nothing when the lesson is already over; an End when the lesson has no line left.
    std::optional<SourceLine> endMessage();

    // The pause toggle. False where there is nothing to pause.
    bool togglePause();
    // A second of the lesson clock, while it runs for the learner.
    void tick();

    // Stop: the lesson ends and its result goes to the listener, whose failure message (if
    // any) is returned.
    std::optional<QString> stop(bool linesRanOut, int keyboardType);
    void clearStatistics() { statistics_.clear(); }

    // The demonstration: it types the expected character, or brings the next line.
    void startDemonstration();
    KeyCheck demonstrateKey();
    SourceLine demonstrationNextLine();

    // The preview panel pauses a lesson under way while it is out.
    void slideOut();
    void slideIn();

    // The loudspeaker: nothing while paused; otherwise switches the metronome. Returns whether
    // it is now switched on.
    std::optional<bool> switchMetronome();

private:
    SourceLine show(const SourceLine& line);
    SourceLine readNext(bool lastLineEnds);
    void resumeMetronome();
    qint64 sinceLastKey(bool accepted);

    const Platform* platform_;
    ResultsRecording* listener_ = nullptr;
    Phase phase_ = Phase::NoLesson;
    bool stopHeldByMessage_ = false;
    bool previewOut_ = false;
    bool pausedBeforePreview_ = false;
    bool metronomeOn_ = false;
    bool metronomeBeating_ = false;
    std::uint64_t metronomeStarts_ = 0;
    bool messageShowing_ = false;
    std::uint64_t messageStarts_ = 0;
    std::optional<qint64> lastKeyAt_;

    ExerciseLine line_;
    PracticeStatistics statistics_;
    QString transcript_;
    std::unique_ptr<LineSource> source_;
};

} // namespace tipora
