#pragma once

#include "exam/copy_test.h"

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <functional>
#include <utility>

namespace tipora {

// A text to copy: its title and the paragraphs to type, one a line.
struct ExamText {
    QString title;
    QString text;
};

// The exam texts that come with the course: `opisy/*.txt` in the course folder, a title on the
// first line, in name order.
QList<ExamText> bundledExamTexts(const QDir& course);
// A text file of the learner's own as an exam text: its typographic signs made plain, or the
// reason it cannot be copied on the keyboard in `problem`.
ExamText ownExamText(const QString& fileName, const QString& contents, QString* problem,
                     bool* plainedTypography);

inline constexpr std::array<int, 4> kExamMinutes{1, 3, 5, 10};
inline constexpr std::array<int, 2> kExamPenalties{10, 50};

// What the exam dialog offers and what the learner chose in it.
struct ExamChoice {
    QList<ExamText> texts; // the bundled ones
    int textIndex = 0;     // into texts, unless a file of the learner's own was chosen
    QString ownFile;
    int minutes = 10;
    int penalty = 10;
    QString learner; // for the result sheet; may stay empty
};

// One timed copy test. The learner types freely: nothing is checked while typing, Backspace
// corrects and Enter makes a line break. The time runs from the first key; when it is up the
// text is closed. Stop ends it early, and the time used is what it is scored over.
class ExamSession {
public:
    // The clock gives milliseconds on a clock that only goes forwards.
    ExamSession(ExamText text, int minutes, int penalty, std::function<qint64()> clock);

    const ExamText& text() const { return text_; }

    // How the keyboard under the text answers the keys, as in a lesson.
    struct Feedback {
        int keyboardType = 1;
        bool lighting = true;
        bool shiftedCaptions = true;
        bool beepOnKey = false;
        // The metronome, as the learner left it in the lesson window, and its beat.
        bool metronomeOn = false;
        int metronomeMs = 0;
    };
    Feedback feedback;
    int minutes() const { return minutes_; }
    int penalty() const { return penalty_; }

    // Keys, as the typing area passes them: a character, Backspace, Enter.
    void type(const QString& characters);
    void backspace();
    void enter() { type(QStringLiteral("\n")); }
    // The typing area's text changed as a whole (a paste, an input method): taken as typed.
    void setTyped(const QString& typed);
    const QString& typed() const { return typed_; }

    // Looks at the clock: ends the test when its time is up. True when that happened now.
    bool tick();
    void stop();

    bool started() const { return startMs_ >= 0; }
    bool finished() const { return finished_; }
    // Whole seconds left, counting down from the full time before the first key.
    int secondsLeft() const;
    // "9:58"
    QString clockText() const;
    // The minutes the figures are worked out over: the whole time, or the time used to Stop.
    double minutesUsed() const;

    QList<WordMark> marks() const { return compareWords(text_.text, typed_); }
    CopyTestFigures figures() const;

private:
    qint64 elapsedMs() const;

    ExamText text_;
    int minutes_;
    int penalty_;
    std::function<qint64()> clock_;
    QString typed_;
    qint64 startMs_ = -1;
    qint64 endMs_ = -1;
    bool finished_ = false;
};

// The figures as the result window, the result sheet and the command line show them: label and
// value, in the program's words.
QList<std::pair<QString, QString>> figureRows(const CopyTestFigures& figures,
                                              const QLocale& locale);
// The typed text marked against the original, as HTML: wrong words, left-out words and added
// words each marked their own way; the part not reached is left out.
QString markedTranscriptHtml(const QList<WordMark>& marks);
// The printable result sheet.
struct ExamSheet {
    QString learner; // may be empty
    QDateTime when;
    QString title;
    CopyTestFigures figures;
    QList<WordMark> marks;
};
QString resultSheetHtml(const ExamSheet& sheet, const QLocale& locale);

} // namespace tipora
