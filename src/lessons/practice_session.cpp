#include "lessons/practice_session.h"

#include "app/platform.h"
#include "ground/windows1250.h"

namespace tipora {

QStringList PracticeSession::brokenRules() const {
    QStringList broken;
    const auto expect = [&broken, this](bool holds, const char* rule) {
        if (!holds) {
            broken << QStringLiteral("%1 (phase %2)")
                          .arg(QLatin1String(rule), QLatin1String(phaseName(phase_)));
        }
    };
    const PracticeStatistics& s = statistics_;
    expect(s.errors() >= 0 && s.lines() >= 0 && s.keystrokes() >= 0 && s.seconds() >= 0 &&
               s.keystrokesPerMinute() >= 0 && s.errorsPerLine() >= 0.0F,
           "figures are never negative");
    expect(line_.column() >= 1 && line_.column() <= line_.text().size() + 1,
           "the column lies within the line or just past it");
    expect(line_.typed().size() == line_.column() - 1,
           "the input holds what was typed of the line");
    expect(!metronomeBeating_ || metronomeOn_, "the metronome beats only when switched on");
    expect(!stopHeldByMessage_ || messageShowing_, "only a message holds Stop");
    expect(!(phase_ == Phase::Held) || previewOut_, "only the preview holds a lesson");
    expect(!(rules().lessonClock && paused()), "the clock stands while paused");
    expect(source_ != nullptr || !lessonLoaded() || phase_ == Phase::NoLesson,
           "a loaded lesson has its lines");
    return broken;
}

void PracticeSession::reset() {
    ResultsRecording* listener = listener_;
    *this = PracticeSession(*platform_);
    listener_ = listener;
}

void PracticeSession::startLesson(const LessonId& lesson) {
    source_.reset();
    line_.restart();
    // A new line starts clean: an error in the last lesson's line is not this line's error.
    line_.forgetError();
    phase_ = Phase::Ready;
    stopHeldByMessage_ = false;
    // A message of the lesson left behind must not, when its three seconds are up, replace the
    // new lesson's first line with its second.
    messageShowing_ = false;
    // A metronome the learner switched on beats again with the new lesson, even after a Stop
    // silenced it: what the loudspeaker says and what is heard agree.
    resumeMetronome();
    lastKeyAt_.reset();
    if (listener_ != nullptr) {
        listener_->lessonStarted(lesson, statistics_.counters());
    }
}

SourceLine PracticeSession::useSource(std::unique_ptr<LineSource> source) {
    source_ = std::move(source);
    return show(source_->first());
}

void PracticeSession::lessonUnavailable() {
    source_.reset();
    phase_ = Phase::Unavailable;
}

// An exercise line is simply shown; a message line pauses the practice for its three seconds.
SourceLine PracticeSession::show(const SourceLine& line) {
    if (line.text) {
        line_.replace(*line.text);
    }
    if (line.kind == SourceLine::Kind::Message) {
        togglePause();
        stopHeldByMessage_ = true;
        // A message met during another runs on in that one's three seconds.
        if (!messageShowing_) {
            messageShowing_ = true;
            ++messageStarts_;
        }
    }
    return line;
}

qint64 PracticeSession::sinceLastKey(bool accepted) {
    const qint64 now = platform_->elapsedMilliseconds();
    const qint64 since = lastKeyAt_ ? now - *lastKeyAt_ : -1;
    if (accepted) {
        lastKeyAt_ = now;
    }
    return since;
}

std::optional<PracticeSession::Typed> PracticeSession::typeKey(int code) {
    // The demonstration is typing this line, and while the preview is out the input line shows
    // the transcript, not the line being typed.
    if (demonstrating() || previewOut_ || paused() || !lessonLoaded()) {
        return std::nullopt;
    }
    if (!started()) {
        phase_ = Phase::Typing;
        stopHeldByMessage_ = false;
    }
    Typed typed;
    KeyCheck& check = typed.check;
    check.outcome = line_.check(code);
    check.expected = line_.expected();
    check.typed = code;
    switch (check.outcome) {
    case KeyOutcome::Accepted:
        check.sinceLastKey = sinceLastKey(true);
        line_.accept();
        statistics_.countKeystroke();
        break;
    case KeyOutcome::LineClosed:
        check.sinceLastKey = sinceLastKey(true);
        if (!transcript_.isEmpty()) {
            transcript_ += QStringLiteral("\r\n");
        }
        transcript_ += line_.typed();
        line_.restart();
        statistics_.countLine();
        // A line with an error is typed again.
        typed.nextLineDue = !line_.errorInLine();
        line_.forgetError();
        break;
    case KeyOutcome::ErrorInLine:
    case KeyOutcome::ErrorAtLineEnd:
        check.sinceLastKey = sinceLastKey(false);
        line_.markError();
        statistics_.countError();
        break;
    case KeyOutcome::Ignored:
        break;
    }
    if (listener_ != nullptr) {
        listener_->keyChecked(check);
        if (check.outcome == KeyOutcome::LineClosed) {
            listener_->lineClosed(statistics_.counters());
        }
    }
    return typed;
}

// The next line: shown, or (a header or the end of the lines) kept as the last one read.
SourceLine PracticeSession::readNext(bool lastLineEnds) {
    const SourceLine next = source_ ? source_->next(lastLineEnds) : SourceLine{};
    if (next.kind != SourceLine::Kind::End) {
        return show(next);
    }
    if (next.text) {
        line_.replace(*next.text);
    }
    return next;
}

SourceLine PracticeSession::feedNextLine() {
    return readNext(true);
}

SourceLine PracticeSession::skipLine() {
    line_.restart();
    // A skipped line's error stays with it.
    line_.forgetError();
    return feedNextLine();
}

std::optional<SourceLine> PracticeSession::endMessage() {
    messageShowing_ = false;
    // Once the lesson has ended (the learner skipped to its end during the message), the
    // message has nothing left to give way to.
    if (!lessonLoaded()) {
        return std::nullopt;
    }
    const std::optional<QString> text = source_ ? source_->afterMessage() : std::nullopt;
    if (!text) {
        // A message as the very last line: nothing follows, so the lesson is over.
        return SourceLine{};
    }
    line_.replace(*text);
    // The new line is typed from its start: whatever was typed meanwhile (the message itself, in
    // a lesson not yet begun or a demonstration, or a line skipped to) belonged to another line.
    line_.restart();
    stopHeldByMessage_ = false;
    togglePause();
    return SourceLine{SourceLine::Kind::Exercise, text, *text};
}

bool PracticeSession::togglePause() {
    const Phase next = toggledPause(phase_);
    if (next == phase_) {
        return false;
    }
    phase_ = next;
    stopHeldByMessage_ = false;
    if (paused()) {
        metronomeBeating_ = false;
    } else {
        resumeMetronome();
    }
    // The time across a pause is no time between two keys.
    lastKeyAt_.reset();
    return true;
}

void PracticeSession::tick() {
    // The demonstration's time is its own.
    if (!demonstrating()) {
        statistics_.tick();
    }
}

std::optional<QString> PracticeSession::stop(bool linesRanOut, int keyboardType) {
    const LessonEnd end = demonstrating() ? LessonEnd::Demonstration
                          : linesRanOut   ? LessonEnd::Finished
                                          : LessonEnd::Stopped;
    // A pause lasts past the end: the loudspeaker stays as the pause left it.
    phase_ = paused() ? Phase::EndedPaused : Phase::Ended;
    stopHeldByMessage_ = false;
    metronomeBeating_ = false;
    messageShowing_ = false;
    // Until the next lesson is chosen, typing has no line to be checked against; the column
    // goes back to the first, which the demonstration may have left past the end of its line.
    line_.forgetError();
    line_.restart();
    if (listener_ == nullptr) {
        return std::nullopt;
    }
    return listener_->lessonEnded(statistics_.counters(), end, keyboardType);
}

void PracticeSession::startDemonstration() {
    phase_ = Phase::Demonstration;
    stopHeldByMessage_ = false;
    resumeMetronome();
}

KeyCheck PracticeSession::demonstrateKey() {
    KeyCheck check;
    check.outcome = KeyOutcome::Accepted;
    check.expected = line_.expected();
    check.typed = windows1250Code(QStringView(&check.expected, 1));
    check.demonstration = true;
    line_.accept();
    return check;
}

SourceLine PracticeSession::demonstrationNextLine() {
    const SourceLine next = readNext(false);
    if (next.kind != SourceLine::Kind::End) {
        line_.restart();
    }
    return next;
}

void PracticeSession::slideOut() {
    if (started()) {
        pausedBeforePreview_ = paused();
        if (phase_ == Phase::Typing) {
            phase_ = Phase::Held;
        }
    }
    metronomeBeating_ = false;
    previewOut_ = true;
}

void PracticeSession::slideIn() {
    // The lesson was running when the panel went out.
    if (!pausedBeforePreview_ && started()) {
        phase_ = Phase::Typing;
    }
    previewOut_ = false;
    resumeMetronome();
}

std::optional<bool> PracticeSession::switchMetronome() {
    if (paused()) {
        return std::nullopt; // not while paused, nor before the first lesson
    }
    metronomeOn_ = !metronomeOn_;
    if (metronomeOn_) {
        resumeMetronome();
    } else {
        metronomeBeating_ = false;
    }
    return metronomeOn_;
}

void PracticeSession::resumeMetronome() {
    if (metronomeOn_ && !metronomeBeating_) {
        metronomeBeating_ = true;
        ++metronomeStarts_;
    }
}

} // namespace tipora
