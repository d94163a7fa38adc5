#pragma once

#include "app/results_recording.h"

#include <QString>

namespace tipora {

// The line being typed and how far the typing has come.
class ExerciseLine {
public:
    const QString& text() const { return text_; }     // Zadani
    int column() const { return column_; }            // Pozice, 1-based
    bool errorInLine() const { return errorInLine_; } // ChybaVRadku
    const QString& typed() const { return typed_; }   // what the input line holds
    bool complete() const { return column_ > text_.size(); }
    // The character due next; null once the line is complete.
    QChar expected() const { return complete() ? QChar() : text_.at(column_ - 1); }

    // Checks one typed character (Windows-1250 code) against the line.
    KeyOutcome check(int code) const;

    // Moves past the expected character.
    void accept();
    void markError() { errorInLine_ = true; }
    // Back to the first column of a line: this one again, or a new one.
    void restart();
    void replace(const QString& text) { text_ = text; }
    void forgetError() { errorInLine_ = false; }

private:
    QString text_;
    int column_ = 1;
    bool errorInLine_ = false;
    QString typed_;
};

} // namespace tipora
