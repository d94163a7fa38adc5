#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tipora {

// A text of the learner's own, made ready to be typed: typographic signs the keyboard lacks
// become their plain forms, and the paragraphs are wrapped at word boundaries to the exercise
// row.
struct OwnText {
    QStringList lines;
    std::vector<int> keyCodes;      // the keys it is typed with, Shift and the dead key included
    bool plainedTypography = false; // the learner is told once that signs were replaced
    QString problem;                // why it cannot be typed; empty when it can
};

// „ “ ” become ", ‚ ‘ ’ become ', – — become -, … becomes ..., a non-breaking space a space.
QString plainTypography(const QString& text, bool* changed = nullptr);

// Lines of at most `width` characters, words kept whole where they fit, runs of blanks as one
// space, empty lines left out.
QStringList wrapLines(const QString& text, int width);

// The keys a text is typed with, Shift and the dead key included (Enter left out).
std::vector<int> keyCodesOf(const QString& text);

// The text as the learner will type it, or the first character no key makes, by its line and
// column in the file.
OwnText prepareOwnText(const QString& text, int width);

} // namespace tipora
