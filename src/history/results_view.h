#pragma once

#include "history/lesson_result.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QString>
#include <QStringList>

namespace tipora {

// What the results window shows, without the window: the table's texts, the lesson choice and
// the chart's points, so all of it can be checked without a display.
class ResultsView {
public:
    static constexpr int kAllLessons = 0;
    // The drills made of the learner's weak keys, all together.
    static constexpr int kDrills = -1;
    // The learner's own texts, all together.
    static constexpr int kOwnTexts = -2;
    // The copy tests.
    static constexpr int kExams = -3;
    enum Column { Date, Lesson, Time, Speed, ErrorsPerLine, Lines, Finished, ColumnCount };

    explicit ResultsView(QList<LessonResult> newestFirst = {}, QLocale locale = QLocale());

    void setResults(QList<LessonResult> newestFirst);
    const QList<LessonResult>& all() const { return all_; }

    // The choice offered: all lessons, the own texts and the drills if there are any, then every
    // lesson with a result, in course order.
    const QList<int>& lessonChoices() const { return choices_; }
    QStringList lessonChoiceTexts() const;
    // A lesson without results shows none; kAllLessons shows everything.
    void chooseLesson(int lesson);
    int chosenLesson() const { return chosen_; }

    // The chosen results, newest first: the table's rows.
    const QList<LessonResult>& shown() const { return shown_; }
    QString cell(int row, int column) const;
    static QString header(int column);
    // What a figure is made of, where the bare number does not say (empty elsewhere).
    QString hint(int row, int column) const;
    static QString headerHint(int column);

    // The chart runs from the oldest result shown (x = 1) to the newest.
    QList<QPointF> speedPoints() const;
    QList<QPointF> errorPoints() const;
    // Each lesson's fastest result among those shown (the earliest of equals).
    QList<QPointF> bestSpeedPoints() const;

    QByteArray csv() const;

private:
    QList<LessonResult> all_;
    QList<LessonResult> shown_;
    QList<int> choices_;
    int chosen_ = kAllLessons;
    QLocale locale_;
};

} // namespace tipora
