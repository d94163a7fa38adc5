#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tipora {

// The keys a character takes on the Czech keyboard (úhozy): 1 for a key of its own, 2 with
// Shift, and a dead key's strokes (´ 1, ˇ 2 as it needs Shift) before its letter's. A line
// break is one stroke of Enter; a character no key makes counts 1.
int characterStrokes(QChar character);
int textStrokes(QStringView text);

// How one word (or line break) of a copy test compares with the original. A line break is the
// word "\n".
struct WordMark {
    enum class Kind {
        Right,
        Wrong,     // typed in the place of the original's word, differently
        Missing,   // the original's word left out
        Added,     // typed where the original has nothing
        Unreached, // the original after the last typed word: time ran out, no error
    };
    Kind kind = Kind::Right;
    QString original; // empty for Added
    QString typed;    // empty for Missing and Unreached
};

// Words are compared after the alignment that costs the fewest errors, so one word left out or
// added costs one error, not every later word. Several mistakes in one word are one
// error. The last word typed, cut short by the time, is right as far as it goes.
QList<WordMark> compareWords(const QString& original, const QString& typed);

// A copy test's figures, as Czech schools and the state exam count them.
struct CopyTestFigures {
    int grossStrokes = 0; // hrubé úhozy: the strokes of the text as finally typed
    int errors = 0;
    int penalty = 10;   // strokes taken off per error
    int netStrokes = 0; // čisté úhozy, never below 0
    double minutes = 0.0;
    double netPerMinute = 0.0;
    int errorRateHundredths = 0; // chybovost in hundredths of a per cent, cut, not rounded
    int accuracyHundredths = 0;  // přesnost: 100 % less the error rate
    std::optional<int> grade;    // 1 … 3, 0 when not passed; none outside the exam's conditions
};

// The exam's conditions a grade needs, and its requirements.
inline constexpr int kGradedMinutes = 10;
inline constexpr int kGradedPenalty = 10;
std::optional<int> copyTestGrade(double minutes, int penalty, double netPerMinute,
                                 int errorRateHundredths);

CopyTestFigures scoreCopyTest(const QList<WordMark>& marks, const QString& typed, double minutes,
                              int penalty);
CopyTestFigures scoreCopyTest(const QString& original, const QString& typed, double minutes,
                              int penalty);

} // namespace tipora
