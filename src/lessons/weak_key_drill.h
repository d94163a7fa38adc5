#pragma once

#include "app/results_recording.h"
#include "lessons/line_source.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace tipora {

inline constexpr int kDrillLineCount = 20;
inline constexpr int kDrillLineLength = 60; // the exercise row's columns
inline constexpr int kDrillMinimumKeystrokes = 200;
inline constexpr int kWeakKeyRepeats = 30;
inline constexpr int kFewestWeakKeys = 3;
inline constexpr int kMostWeakKeys = 5;

// A lesson made of the learner's weak keys, or why none could be made.
struct WeakKeyDrill {
    QStringList lines;
    QString weakKeys;                // the drilled letters, weakest first
    std::vector<int> weakKeyCodes;   // marked red
    std::vector<int> taughtKeyCodes; // every key of the finished lessons, marked green
    QString refusal;                 // empty when there are lines
};

// The keys the finished lessons have taught: every key their marking showed.
std::vector<int> taughtKeyCodes(const QList<int>& finishedLessons);

// The real words of the course's exercise lines, each once, in code order. Letter drills
// ("fjfj", "dkd"), two-letter syllables and words in capitals are left out.
QStringList courseWords(const QDir& course);

// Picks the three to five letters the learner gets wrong most often among the ones the finished
// lessons taught, and fills the lines with course words that use only taught keys, until each of
// those letters has come at least kWeakKeyRepeats times. The same seed gives the same lines.
WeakKeyDrill weakKeyDrill(const PracticeRecord& record, const QStringList& words, quint32 seed);

// The lines of a text made or chosen for the learner (a drill, a text of their own), typed one
// after another to the last.
class TextLines final : public LineSource {
public:
    explicit TextLines(QStringList lines) : lines_(std::move(lines)) {}

    SourceLine first() override { return next(false); }
    SourceLine next(bool lastLineEnds) override;
    std::optional<QString> afterMessage() override { return std::nullopt; }

private:
    QStringList lines_;
    qsizetype read_ = 0;
};

} // namespace tipora
