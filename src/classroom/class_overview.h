#pragma once

#include "history/lesson_result.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace tipora {

// Which students the teacher looks at and over which time.
struct ClassFilter {
    QString className;              // empty: every class
    std::optional<QDateTime> since; // results recorded at or after it; none: the whole history
};

// The latest copy test of the period.
struct ClassExam {
    QDateTime when; // UTC
    double netPerMinute = 0.0;
    double errorRate = 0.0;   // per cent
    std::optional<int> grade; // 1 … 3, 0 not passed; none where the test set no grade
};

// One student's line of the overview.
struct StudentRow {
    int studentId = 0;
    QString fullName;
    QString login;
    QString className;
    int keyboardType = 1;   // of their latest result: the arrangement their keys are shown on
    int results = 0;        // in the period
    QDateTime lastPractice; // UTC, over the whole history; invalid when they never sent one
    // The course is one path: how far along it a student is does not depend on the period.
    std::optional<int> highestLesson;
    // The period's course lessons and weak-key drills: own texts and copy tests are measured
    // differently.
    std::optional<double> speed;     // mean keystrokes per minute
    std::optional<double> errorRate; // errors over keystrokes, per cent
    std::optional<ClassExam> exam;
};

// A character due, over the class's results of the period.
struct ClassKey {
    QString expected; // "\n" for the Enter that closes a line
    int strokes = 0;
    int errors = 0;
    double errorRate() const { return strokes > 0 ? errors * 100.0 / strokes : 0.0; }
};

// The columns of the overview's table, in the order shown.
enum class ClassColumn {
    Name,
    Login,
    Class,
    Results,
    LastPractice,
    HighestLesson,
    Speed,
    ErrorRate,
    ExamSpeed,
    ExamErrorRate,
    Grade,
    Count
};

struct ClassOverview {
    QStringList classes;         // every class with a student, for the filter
    QList<StudentRow> students;  // by class, then by name
    QList<ClassKey> weakestKeys; // the highest error rate first
    QString error;               // empty when everything was read; the Czech message otherwise
};

struct StudentHistory {
    QList<LessonResult> results; // the period's, newest first, without their key figures
    QList<KeyFigure> keys;       // as the local history adds them up, for the heat map
    QString error;
};

// The teacher's view of the class server: a handful of set-based statements over a connection
// of a member of tipora_teacher. A failure never throws: it comes back as the Czech message,
// and after a connection the server dropped, the next reading connects afresh.
class ClassOverviewReader {
public:
    // A key needs this many strokes before its error rate says anything.
    static constexpr int kMinRankedStrokes = 20;
    static constexpr int kRankedKeys = 10;

    explicit ClassOverviewReader(QString connectionName);

    ClassOverview overview(const ClassFilter& filter);
    StudentHistory student(int studentId, const std::optional<QDateTime>& since);

private:
    QString connection_;
};

// The table's texts, for the window and the printed page.
QString classHeader(ClassColumn column);
QString classCell(const StudentRow& row, ClassColumn column, const QLocale& locale);
QString keyName(const QString& expected);

// The table as a Czech spreadsheet opens it, in the history export's conventions.
QByteArray toCsv(const QList<StudentRow>& rows);
// The table and the weakest keys as a page to print.
QString overviewHtml(const ClassOverview& overview, const QString& heading, const QLocale& locale);

} // namespace tipora
