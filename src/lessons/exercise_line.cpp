#include "lessons/exercise_line.h"

#include "ground/key_table.h"
#include "ground/windows1250.h"
#include "lessons/practice_statistics.h"
#include "lessons/typing_rules.h"

namespace tipora {

namespace {
bool isOrdinary(int key) {
    return key != kKeyBackspace && key != kKeyTab && key != kKeyEnter && key != kKeyEscape;
}
} // namespace

KeyOutcome ExerciseLine::check(int code) const {
    if (!complete() && isOrdinary(code) && code >= 0 &&
        windows1250Code(QStringView(text_).sliced(column_ - 1, 1)) == code) {
        return KeyOutcome::Accepted;
    }
    if (complete() && code == kKeyEnter) {
        return KeyOutcome::LineClosed;
    }
    if (complete()) {
        return KeyOutcome::ErrorAtLineEnd; // any key but Enter past the end of the line
    }
    if (isOrdinary(code) || code == kKeyEnter) {
        return KeyOutcome::ErrorInLine; // a wrong character, or Enter too early
    }
    return KeyOutcome::Ignored; // Backspace, Tab and Esc inside the line
}

void ExerciseLine::accept() {
    typed_ += text_.at(column_ - 1);
    ++column_;
}

void ExerciseLine::restart() {
    column_ = 1;
    typed_.clear();
}

void PracticeStatistics::countKeystroke() {
    ++keystrokes_;
    if (seconds_ > 0) {
        keystrokesPerMinute_ = tipora::keystrokesPerMinute(keystrokes_, seconds_);
    }
}

void PracticeStatistics::countLine() {
    countKeystroke();
    ++lines_;
    errorsPerLine_ = tipora::errorsPerLine(errors_, lines_);
}

} // namespace tipora
