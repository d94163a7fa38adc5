#pragma once

#include <QString>
#include <optional>

namespace tipora {

// A line of a lesson as its source gives it.
struct SourceLine {
    enum class Kind {
        Exercise, // to be typed
        Message,  // shown for a while, not typed
        End,      // the lesson is over
    };
    Kind kind = Kind::End;
    // The line as read, kept whole (also a line that ends the lesson); none when nothing was read.
    std::optional<QString> text;
    // What the exercise row shows of it: a message without its marker.
    QString shown;
};

// Where a lesson's lines come from: the course's files, or a text made or chosen for the
// learner. The practice session reads it one line at a time.
class LineSource {
public:
    virtual ~LineSource() = default;

    // The lesson's first line.
    virtual SourceLine first() = 0;
    // The next line. Where the line feeder asks (`lastLineEnds`), a line read as the source's
    // very last one ends the lesson unseen; the demonstration still types it.
    virtual SourceLine next(bool lastLineEnds) = 0;
    // The line after a message, taken as a line to type whatever it holds; none when nothing is
    // left.
    virtual std::optional<QString> afterMessage() = 0;
};

} // namespace tipora
