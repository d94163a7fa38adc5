#pragma once

#include "app/results_recording.h"
#include "history/lesson_result.h"

#include <map>
#include <utility>

namespace tipora {

// Counts the learner's checked keys of one lesson in memory, per character due and per
// character typed in its place, for the lesson's result.
class KeyTally {
public:
    void clear() { counts_.clear(); }
    void count(const KeyCheck& check);
    // The rows, characters in code order, each one's confusions after its own row.
    QList<KeyFigure> figures() const;

private:
    struct Counts {
        int strokes = 0;
        int errors = 0;
        int timed = 0;
        qint64 totalMs = 0;
    };
    // The character due, and what came instead (kOwnRow for the character's own row).
    using Key = std::pair<char16_t, int>;
    static constexpr int kOwnRow = -2;

    std::map<Key, Counts> counts_;
};

} // namespace tipora
