#include "history/results_view.h"

#include "app/display_rules.h"
#include "history/history_texts.h"
#include "history/results_csv.h"

#include <QHash>
#include <algorithm>

namespace tipora {

namespace {
// What a course lesson is listed under; any other practice has no number of its own.
int choiceOf(const LessonResult& r) {
    switch (r.kind) {
    case LessonId::Kind::Course:
        return r.lesson;
    case LessonId::Kind::Drill:
        return ResultsView::kDrills;
    case LessonId::Kind::OwnText:
        return ResultsView::kOwnTexts;
    case LessonId::Kind::Exam:
        return ResultsView::kExams;
    }
    return r.lesson;
}
} // namespace

ResultsView::ResultsView(QList<LessonResult> newestFirst, QLocale locale)
    : locale_(std::move(locale)) {
    setResults(std::move(newestFirst));
}

void ResultsView::setResults(QList<LessonResult> newestFirst) {
    all_ = std::move(newestFirst);
    choices_ = {kAllLessons};
    for (const LessonResult& r : all_) {
        choices_.append(choiceOf(r));
    }
    std::sort(choices_.begin() + 1, choices_.end());
    choices_.erase(std::unique(choices_.begin(), choices_.end()), choices_.end());
    chooseLesson(chosen_);
}

QStringList ResultsView::lessonChoiceTexts() const {
    QStringList list;
    for (const int lesson : choices_) {
        if (lesson <= kAllLessons) {
            list.append(lesson == kAllLessons ? texts::kAllLessons
                        : lesson == kDrills   ? texts::kDrills
                        : lesson == kExams    ? texts::kExams
                                              : texts::kOwnTexts);
            continue;
        }
        // The caption the newest result of the lesson was stored with.
        const auto r = std::find_if(all_.begin(), all_.end(), [lesson](const LessonResult& x) {
            return choiceOf(x) == lesson;
        });
        list.append(texts::lessonChoice(lesson, r->caption));
    }
    return list;
}

void ResultsView::chooseLesson(int lesson) {
    chosen_ = lesson;
    if (lesson == kAllLessons) {
        shown_ = all_;
        return;
    }
    shown_.clear();
    std::copy_if(all_.begin(), all_.end(), std::back_inserter(shown_),
                 [lesson](const LessonResult& r) { return choiceOf(r) == lesson; });
}

QString ResultsView::header(int column) {
    return column >= 0 && column < ColumnCount ? texts::kTableHeader[column] : QString();
}

QString ResultsView::cell(int row, int column) const {
    if (row < 0 || row >= shown_.size()) {
        return {};
    }
    const LessonResult& r = shown_[row];
    switch (column) {
    case Date:
        return locale_.toString(r.when.toLocalTime(), QLocale::ShortFormat);
    case Lesson:
        return r.kind == LessonId::Kind::Course ? texts::lessonChoice(r.lesson, r.caption)
                                                : r.caption;
    case Time:
        return lessonTimeText(r.seconds, locale_);
    case Speed:
        return counterText(r.keystrokesPerMinute);
    case ErrorsPerLine:
        return errorsPerLineText(static_cast<float>(r.errorsPerLine), locale_);
    case Lines:
        return counterText(r.lines);
    case Finished:
        return r.finished ? texts::kYes : texts::kNo;
    default:
        return {};
    }
}

QString ResultsView::hint(int row, int column) const {
    if (row < 0 || row >= shown_.size() || column != Speed) {
        return {};
    }
    const LessonResult& r = shown_[row];
    return texts::speedHint(r.keystrokes, r.seconds, r.keystrokesPerMinute);
}

QString ResultsView::headerHint(int column) {
    return column == Speed ? texts::kSpeedHeaderHint : QString();
}

QList<QPointF> ResultsView::speedPoints() const {
    QList<QPointF> points;
    points.reserve(shown_.size());
    for (qsizetype i = shown_.size() - 1, x = 1; i >= 0; --i, ++x) {
        points.append({static_cast<double>(x), static_cast<double>(shown_[i].keystrokesPerMinute)});
    }
    return points;
}

QList<QPointF> ResultsView::errorPoints() const {
    QList<QPointF> points;
    points.reserve(shown_.size());
    for (qsizetype i = shown_.size() - 1, x = 1; i >= 0; --i, ++x) {
        points.append({static_cast<double>(x), shown_[i].errorsPerLine});
    }
    return points;
}

QList<QPointF> ResultsView::bestSpeedPoints() const {
    QHash<int, QPointF> best;
    for (qsizetype i = shown_.size() - 1, x = 1; i >= 0; --i, ++x) {
        const LessonResult& r = shown_[i];
        const auto found = best.constFind(r.lesson);
        if (found == best.cend() || r.keystrokesPerMinute > found->y()) {
            best.insert(r.lesson,
                        {static_cast<double>(x), static_cast<double>(r.keystrokesPerMinute)});
        }
    }
    QList<QPointF> points = best.values();
    std::sort(points.begin(), points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    return points;
}

QByteArray ResultsView::csv() const {
    return resultsCsv(shown_);
}

} // namespace tipora
