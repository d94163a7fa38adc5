#include "exam/exam_session.h"

#include "exam/exam_texts.h"
#include "ground/lesson_file.h"
#include "lessons/own_text.h"
#include "lessons/weak_key_drill.h"

#include <QFile>
#include <algorithm>

namespace tipora {

namespace {

QString escaped(const QString& word) {
    return word == QLatin1String("\n") ? QStringLiteral("↵") : word.toHtmlEscaped();
}

} // namespace

QList<ExamText> bundledExamTexts(const QDir& course) {
    QDir folder(course.filePath(QStringLiteral("opisy")));
    QList<ExamText> texts;
    const QStringList names =
        folder.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (file.size() > kMaxLessonFileBytes || !file.open(QIODevice::ReadOnly)) {
            continue;
        }
        QString contents = QString::fromUtf8(file.readAll());
        contents.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const qsizetype titleEnd = contents.indexOf(QLatin1Char('\n'));
        if (titleEnd <= 0) {
            continue;
        }
        texts.append({contents.left(titleEnd).trimmed(), contents.mid(titleEnd + 1).trimmed()});
    }
    return texts;
}

ExamText ownExamText(const QString& fileName, const QString& contents, QString* problem,
                     bool* plainedTypography) {
    const OwnText own = prepareOwnText(contents, kDrillLineLength);
    *problem = own.problem;
    *plainedTypography = own.plainedTypography;
    // The paragraphs as they are, one a line: the original is wrapped only on screen.
    QStringList paragraphs;
    for (const QString& line : plainTypography(contents).split(QLatin1Char('\n'))) {
        const QString paragraph = line.simplified();
        if (!paragraph.isEmpty()) {
            paragraphs.append(paragraph);
        }
    }
    return {fileName, paragraphs.join(QLatin1Char('\n'))};
}

ExamSession::ExamSession(ExamText text, int minutes, int penalty, std::function<qint64()> clock)
    : text_(std::move(text)), minutes_(minutes), penalty_(penalty), clock_(std::move(clock)) {}

void ExamSession::type(const QString& characters) {
    if (finished_ || characters.isEmpty()) {
        return;
    }
    if (!started()) {
        startMs_ = clock_();
    }
    typed_ += characters;
}

void ExamSession::backspace() {
    if (!finished_ && !typed_.isEmpty()) {
        typed_.chop(typed_.size() >= 2 && typed_.back().isLowSurrogate() ? 2 : 1);
    }
}

void ExamSession::setTyped(const QString& typed) {
    if (finished_) {
        return;
    }
    if (!started() && !typed.isEmpty()) {
        startMs_ = clock_();
    }
    typed_ = typed;
}

qint64 ExamSession::elapsedMs() const {
    if (!started()) {
        return 0;
    }
    const qint64 end = endMs_ >= 0 ? endMs_ : clock_();
    return std::min<qint64>(end - startMs_, qint64{minutes_} * 60000);
}

bool ExamSession::tick() {
    if (finished_ || !started() || elapsedMs() < qint64{minutes_} * 60000) {
        return false;
    }
    endMs_ = startMs_ + qint64{minutes_} * 60000;
    finished_ = true;
    return true;
}

void ExamSession::stop() {
    if (!finished_) {
        endMs_ = started() ? clock_() : -1;
        finished_ = true;
    }
}

int ExamSession::secondsLeft() const {
    const qint64 leftMs = qint64{minutes_} * 60000 - elapsedMs();
    return static_cast<int>((leftMs + 999) / 1000);
}

QString ExamSession::clockText() const {
    const int left = secondsLeft();
    return QStringLiteral("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
}

double ExamSession::minutesUsed() const {
    return static_cast<double>(elapsedMs()) / 60000.0;
}

CopyTestFigures ExamSession::figures() const {
    return scoreCopyTest(marks(), typed_, minutesUsed(), penalty_);
}

QList<std::pair<QString, QString>> figureRows(const CopyTestFigures& f, const QLocale& locale) {
    const auto hundredths = [&locale](int value) {
        return locale.toString(value / 100.0, 'f', 2) + QStringLiteral(" %");
    };
    QString grade = texts::kNoGrade;
    if (f.grade) {
        grade = *f.grade == 0 ? texts::kNotPassed : QString::number(*f.grade);
    }
    return {{texts::kGrossStrokes, QString::number(f.grossStrokes)},
            {texts::kExamErrors, QString::number(f.errors)},
            {texts::kPenalty, QString::number(f.penalty)},
            {texts::kNetStrokes, QString::number(f.netStrokes)},
            {texts::kMinutes, locale.toString(f.minutes, 'g', 4)},
            {texts::kNetPerMinute, locale.toString(f.netPerMinute, 'f', 1)},
            {texts::kErrorRate, hundredths(f.errorRateHundredths)},
            {texts::kAccuracy, hundredths(f.accuracyHundredths)},
            {texts::kGrade, grade}};
}

QString markedTranscriptHtml(const QList<WordMark>& marks) {
    QString html;
    for (const WordMark& m : marks) {
        QString word;
        switch (m.kind) {
        case WordMark::Kind::Right:
            word = escaped(m.typed);
            break;
        case WordMark::Kind::Wrong:
            word =
                QStringLiteral("<span style=\"color:#C00000; text-decoration:underline\">%1</span>"
                               " <span style=\"color:#007000\">[%2]</span>")
                    .arg(escaped(m.typed), escaped(m.original));
            break;
        case WordMark::Kind::Missing:
            word = QStringLiteral(
                       "<span style=\"color:#808080; text-decoration:line-through\">%1</span>")
                       .arg(escaped(m.original));
            break;
        case WordMark::Kind::Added:
            word = QStringLiteral("<span style=\"background-color:#FFE000\">%1</span>")
                       .arg(escaped(m.typed));
            break;
        case WordMark::Kind::Unreached:
            continue;
        }
        const bool lineBreak = m.typed == QLatin1String("\n") ||
                               (m.typed.isEmpty() && m.original == QLatin1String("\n"));
        html += word + (lineBreak && m.typed == QLatin1String("\n") ? QStringLiteral("<br>")
                                                                    : QStringLiteral(" "));
    }
    return html;
}

QString resultSheetHtml(const ExamSheet& sheet, const QLocale& locale) {
    QString rows;
    const auto row = [&rows](const QString& label, const QString& value) {
        rows += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
                    .arg(label.toHtmlEscaped(), value.toHtmlEscaped());
    };
    if (!sheet.learner.isEmpty()) {
        row(texts::kSheetLearner, sheet.learner);
    }
    row(texts::kSheetDate, locale.toString(sheet.when, QLocale::ShortFormat));
    row(texts::kSheetText, sheet.title);
    for (const auto& [label, value] : figureRows(sheet.figures, locale)) {
        row(label, value);
    }
    return QStringLiteral("<html><body><h2>%1</h2><table cellspacing=\"0\" cellpadding=\"3\">%2"
                          "</table><h3>%3</h3><p>%4</p><p><small>%5</small></p></body></html>")
        .arg(texts::kSheetTitle.toHtmlEscaped(), rows, texts::kSheetTranscript.toHtmlEscaped(),
             markedTranscriptHtml(sheet.marks), texts::kLegend.toHtmlEscaped());
}

} // namespace tipora
