#include "history/key_tally.h"

#include "ground/key_table.h"
#include "ground/windows1250.h"

namespace tipora {

namespace {

constexpr char16_t kEnterDue = u'\n';

QString typedText(int code) {
    if (code == kKeyEnter) {
        return QStringLiteral("\n");
    }
    if (code < 0 || code > 255) {
        return QString(QChar::ReplacementCharacter);
    }
    const char byte = static_cast<char>(code);
    return fromWindows1250(QByteArrayView(&byte, 1));
}

} // namespace

void KeyTally::count(const KeyCheck& check) {
    if (check.demonstration || check.outcome == KeyOutcome::Ignored) {
        return;
    }
    // A complete line is due its Enter.
    const char16_t due = check.expected.isNull() ? kEnterDue : check.expected.unicode();
    Counts& own = counts_[{due, kOwnRow}];
    ++own.strokes;
    switch (check.outcome) {
    case KeyOutcome::Accepted:
    case KeyOutcome::LineClosed:
        if (check.sinceLastKey >= 0) {
            ++own.timed;
            own.totalMs += check.sinceLastKey;
        }
        break;
    case KeyOutcome::ErrorInLine:
    case KeyOutcome::ErrorAtLineEnd:
        ++own.errors;
        ++counts_[{due, check.typed}].errors;
        break;
    case KeyOutcome::Ignored:
        break;
    }
}

QList<KeyFigure> KeyTally::figures() const {
    QList<KeyFigure> rows;
    rows.reserve(static_cast<qsizetype>(counts_.size()));
    for (const auto& [key, counts] : counts_) {
        KeyFigure row;
        row.expected = QString(QChar(key.first));
        if (key.second != kOwnRow) {
            row.typed = typedText(key.second);
        }
        row.strokes = counts.strokes;
        row.errors = counts.errors;
        row.timed = counts.timed;
        row.totalMs = counts.totalMs;
        rows << row;
    }
    return rows;
}

} // namespace tipora
