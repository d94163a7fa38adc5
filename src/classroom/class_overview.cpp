#include "classroom/class_overview.h"

#include "classroom/classroom_texts.h"
#include "history/history_texts.h"
#include "history/results_csv.h"

#include <QCollator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace tipora {

namespace {

// The period and the class as the first rows of every statement, so each is bound once however
// often the statement uses it. No period is the whole history.
const QString kParameters =
    QStringLiteral("WITH p AS (SELECT coalesce(CAST(? AS timestamptz), '-infinity') AS since,"
                   " CAST(? AS text) AS class_name) ");
// The students the filter chooses, by their current class: a student who moved is shown, and
// counted, in the class they are in now, with all of their results.
const QString kChosenStudents = QStringLiteral(
    " FROM p CROSS JOIN tipora.students s JOIN tipora.classes c ON c.id = s.class_id");
const QString kChosenClass = QStringLiteral(" (p.class_name IS NULL OR c.name = p.class_name)");
// Milliseconds since the epoch: read the same whatever time zone the session has.
QString epochMs(const QString& column) {
    return QStringLiteral("CAST(extract(epoch FROM %1) * 1000 AS bigint)").arg(column);
}

const QString kStudentsStatement =
    kParameters +
    QStringLiteral("SELECT s.id, s.full_name, s.login, c.name, coalesce(l.keyboard_type, 1), %1,"
                   " coalesce(a.results, 0), a.highest, a.speed, a.error_rate,"
                   " %2, e.net_per_minute, e.error_rate, e.grade")
        .arg(epochMs(QStringLiteral("l.recorded_at")), epochMs(QStringLiteral("e.recorded_at"))) +
    kChosenStudents +
    QStringLiteral(
        " LEFT JOIN LATERAL (SELECT r.recorded_at, r.keyboard_type FROM tipora.results r"
        "  WHERE r.student_id = s.id ORDER BY r.recorded_at DESC, r.id DESC LIMIT 1) l ON true"
        " LEFT JOIN LATERAL (SELECT"
        "  count(*) FILTER (WHERE r.recorded_at >= p.since) AS results,"
        "  max(r.lesson) FILTER (WHERE r.kind = 'course' AND r.finished) AS highest,"
        "  CAST(avg(r.keystrokes_per_minute) FILTER (WHERE r.recorded_at >= p.since"
        "   AND r.kind IN ('course', 'drill')) AS float8) AS speed,"
        "  CAST(sum(r.errors) FILTER (WHERE r.recorded_at >= p.since"
        "   AND r.kind IN ('course', 'drill')) * 100.0 / nullif(sum(r.keystrokes) FILTER ("
        "   WHERE r.recorded_at >= p.since AND r.kind IN ('course', 'drill')), 0) AS float8)"
        "   AS error_rate"
        "  FROM tipora.results r WHERE r.student_id = s.id) a ON true"
        " LEFT JOIN LATERAL (SELECT r.recorded_at, x.net_per_minute, x.error_rate, x.grade"
        "  FROM tipora.results r JOIN tipora.exam_figures x ON x.result_id = r.id"
        "  WHERE r.student_id = s.id AND r.kind = 'exam' AND r.recorded_at >= p.since"
        "  ORDER BY r.recorded_at DESC, r.id DESC LIMIT 1) e ON true"
        " WHERE") +
    kChosenClass;

// A character's own rows (typed IS NULL) hold every stroke where it was due. The planner cannot
// tell a week from the whole history through the bound period, and would read every key row of
// the server for a week too; so a period's rows are found through its results by the index, and
// the whole history's by reading the table once. With every class nothing needs joining: every
// result is a student's and every student is in a class.
QString weakestStatement(const ClassFilter& filter) {
    const QString chosenResults =
        QStringLiteral("SELECT r.id") + kChosenStudents +
        QStringLiteral(" JOIN tipora.results r ON r.student_id = s.id AND r.recorded_at >= p.since"
                       " WHERE") +
        kChosenClass;
    QString results;
    if (filter.since) {
        results = QStringLiteral(" AND k.result_id = ANY (ARRAY(%1))").arg(chosenResults);
    } else if (!filter.className.isEmpty()) {
        results = QStringLiteral(" AND k.result_id IN (%1)").arg(chosenResults);
    }
    return kParameters +
           QStringLiteral("SELECT k.expected, CAST(sum(k.strokes) AS bigint),"
                          " CAST(sum(k.errors) AS bigint) FROM tipora.key_figures k"
                          " WHERE k.typed IS NULL%1"
                          " GROUP BY k.expected HAVING sum(k.strokes) >= %2 AND sum(k.errors) > 0"
                          " ORDER BY CAST(sum(k.errors) AS float8) / sum(k.strokes) DESC,"
                          " sum(k.strokes) DESC, k.expected COLLATE \"C\" LIMIT %3")
               .arg(results)
               .arg(ClassOverviewReader::kMinRankedStrokes)
               .arg(ClassOverviewReader::kRankedKeys);
}

const QString kClassesStatement =
    QStringLiteral("SELECT c.name FROM tipora.classes c"
                   " WHERE EXISTS (SELECT 1 FROM tipora.students s WHERE s.class_id = c.id)");

const QString kHistoryStatement =
    QStringLiteral("SELECT %1, r.kind, r.lesson, r.caption, r.keyboard_type, r.seconds,"
                   " r.keystrokes, r.errors, r.lines, r.keystrokes_per_minute,"
                   " r.errors_per_line, r.finished, x.result_id IS NOT NULL, x.minutes,"
                   " x.minutes_used, x.penalty, x.gross_strokes, x.errors, x.net_strokes,"
                   " x.net_per_minute, x.error_rate, x.grade"
                   " FROM tipora.results r LEFT JOIN tipora.exam_figures x ON x.result_id = r.id"
                   " WHERE r.student_id = ?"
                   " AND r.recorded_at >= coalesce(CAST(? AS timestamptz), '-infinity')"
                   " ORDER BY r.recorded_at DESC, r.id DESC")
        .arg(epochMs(QStringLiteral("r.recorded_at")));

// In the local history's order: characters by code, each one's own row before its confusions.
const QString kStudentKeysStatement = QStringLiteral(
    "SELECT k.expected, k.typed, CAST(sum(k.strokes) AS bigint), CAST(sum(k.errors) AS bigint),"
    " CAST(sum(k.timed) AS bigint), CAST(sum(k.total_ms) AS bigint)"
    " FROM tipora.results r JOIN tipora.key_figures k ON k.result_id = r.id"
    " WHERE r.student_id = ? AND r.recorded_at >= coalesce(CAST(? AS timestamptz), '-infinity')"
    " GROUP BY k.expected, k.typed"
    " ORDER BY k.expected COLLATE \"C\", k.typed COLLATE \"C\" NULLS FIRST");

QVariant sinceValue(const std::optional<QDateTime>& since) {
    if (!since || !since->isValid()) {
        return QVariant(QMetaType::fromType<QString>());
    }
    return since->toUTC().toString(Qt::ISODateWithMs);
}

QDateTime fromEpochMs(const QVariant& value) {
    return value.isNull() ? QDateTime()
                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

std::optional<int> optionalInt(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

std::optional<double> optionalDouble(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

LessonId::Kind kindOf(const QString& kind) {
    if (kind == QLatin1String("drill")) {
        return LessonId::Kind::Drill;
    }
    if (kind == QLatin1String("own_text")) {
        return LessonId::Kind::OwnText;
    }
    if (kind == QLatin1String("exam")) {
        return LessonId::Kind::Exam;
    }
    return LessonId::Kind::Course;
}

// What the teacher is told. Qt marks a connection the server dropped as closed, and the next
// reading opens it again (see reconnect).
QString failure(const QSqlError& error) {
    const QString state = error.nativeErrorCode();
    if (error.type() == QSqlError::ConnectionError || state.isEmpty() ||
        state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"))) {
        return texts::kConnectionLost;
    }
    if (state == QLatin1String("42501")) {
        return texts::kNotATeacher;
    }
    if (state == QLatin1String("42P01") || state == QLatin1String("3F000")) {
        return texts::kNoClassSchema;
    }
    return texts::classReadFailed(error.text());
}

// Runs a statement with its values bound in order; the error message when it fails.
std::optional<QString> run(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    query.setForwardOnly(true);
    if (!query.prepare(statement)) {
        return failure(query.lastError());
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return failure(query.lastError());
    }
    return std::nullopt;
}

// Opens the connection again when a failure closed it.
std::optional<QString> reconnect(QSqlDatabase& db) {
    if (!db.isOpen() && !db.open()) {
        return texts::cannotConnect(db.lastError().text());
    }
    return std::nullopt;
}

QString decimal(const QLocale& locale, double value, int decimals) {
    return locale.toString(value, 'f', decimals);
}

QString gradeText(const ClassExam& exam) {
    if (!exam.grade) {
        return texts::kNoGrade;
    }
    return *exam.grade == 0 ? texts::kFailed : QString::number(*exam.grade);
}

} // namespace

ClassOverviewReader::ClassOverviewReader(QString connectionName)
    : connection_(std::move(connectionName)) {}

ClassOverview ClassOverviewReader::overview(const ClassFilter& filter) {
    ClassOverview overview;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (auto error = reconnect(db)) {
        overview.error = *error;
        return overview;
    }
    const QVariantList values{sinceValue(filter.since),
                              filter.className.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                         : QVariant(filter.className)};
    QSqlQuery query(db);
    if (auto error = run(query, kClassesStatement, {})) {
        overview.error = *error;
        return overview;
    }
    while (query.next()) {
        overview.classes.append(query.value(0).toString());
    }
    if (auto error = run(query, kStudentsStatement, values)) {
        overview.error = *error;
        return overview;
    }
    while (query.next()) {
        StudentRow row;
        row.studentId = query.value(0).toInt();
        row.fullName = query.value(1).toString();
        row.login = query.value(2).toString();
        row.className = query.value(3).toString();
        row.keyboardType = query.value(4).toInt();
        row.lastPractice = fromEpochMs(query.value(5));
        row.results = query.value(6).toInt();
        row.highestLesson = optionalInt(query.value(7));
        row.speed = optionalDouble(query.value(8));
        row.errorRate = optionalDouble(query.value(9));
        if (!query.value(10).isNull()) {
            row.exam = ClassExam{fromEpochMs(query.value(10)), query.value(11).toDouble(),
                                 query.value(12).toDouble(), optionalInt(query.value(13))};
        }
        overview.students.append(std::move(row));
    }
    if (auto error = run(query, weakestStatement(filter), values)) {
        overview.error = *error;
        return overview;
    }
    while (query.next()) {
        overview.weakestKeys.append(
            {query.value(0).toString(), query.value(1).toInt(), query.value(2).toInt()});
    }

    // Czech order, and 9.A before 10.A: the server's collation may be neither.
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setNumericMode(true);
    std::sort(overview.classes.begin(), overview.classes.end(), collator);
    std::sort(overview.students.begin(), overview.students.end(),
              [&collator](const StudentRow& a, const StudentRow& b) {
                  if (const int byClass = collator.compare(a.className, b.className)) {
                      return byClass < 0;
                  }
                  if (const int byName = collator.compare(a.fullName, b.fullName)) {
                      return byName < 0;
                  }
                  return a.login < b.login;
              });
    return overview;
}

StudentHistory ClassOverviewReader::student(int studentId, const std::optional<QDateTime>& since) {
    StudentHistory history;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (auto error = reconnect(db)) {
        history.error = *error;
        return history;
    }
    const QVariantList values{studentId, sinceValue(since)};
    QSqlQuery query(db);
    if (auto error = run(query, kHistoryStatement, values)) {
        history.error = *error;
        return history;
    }
    while (query.next()) {
        LessonResult r;
        r.when = fromEpochMs(query.value(0));
        r.kind = kindOf(query.value(1).toString());
        r.lesson = query.value(2).toInt();
        r.caption = query.value(3).toString();
        r.keyboardType = query.value(4).toInt();
        r.seconds = query.value(5).toInt();
        r.keystrokes = query.value(6).toInt();
        r.errors = query.value(7).toInt();
        r.lines = query.value(8).toInt();
        r.keystrokesPerMinute = query.value(9).toInt();
        r.errorsPerLine = query.value(10).toDouble();
        r.finished = query.value(11).toBool();
        if (query.value(12).toBool()) {
            ExamFigures f;
            f.minutes = query.value(13).toInt();
            f.minutesUsed = query.value(14).toDouble();
            f.penalty = query.value(15).toInt();
            f.grossStrokes = query.value(16).toInt();
            f.errors = query.value(17).toInt();
            f.netStrokes = query.value(18).toInt();
            f.netPerMinute = query.value(19).toDouble();
            f.errorRateHundredths = qRound(query.value(20).toDouble() * 100.0);
            f.grade = optionalInt(query.value(21));
            r.exam = f;
        }
        history.results.append(std::move(r));
    }
    if (auto error = run(query, kStudentKeysStatement, values)) {
        history.error = *error;
        return history;
    }
    while (query.next()) {
        history.keys.append({query.value(0).toString(), query.value(1).toString(),
                             query.value(2).toInt(), query.value(3).toInt(), query.value(4).toInt(),
                             query.value(5).toLongLong()});
    }
    return history;
}

QString classHeader(ClassColumn column) {
    return texts::kClassHeader.at(static_cast<std::size_t>(column));
}

QString classCell(const StudentRow& row, ClassColumn column, const QLocale& locale) {
    switch (column) {
    case ClassColumn::Name:
        return row.fullName;
    case ClassColumn::Login:
        return row.login;
    case ClassColumn::Class:
        return row.className;
    case ClassColumn::Results:
        return locale.toString(row.results);
    case ClassColumn::LastPractice:
        return row.lastPractice.isValid()
                   ? locale.toString(row.lastPractice.toLocalTime(), QLocale::ShortFormat)
                   : QString();
    case ClassColumn::HighestLesson:
        return row.highestLesson ? locale.toString(*row.highestLesson) : QString();
    case ClassColumn::Speed:
        return row.speed ? locale.toString(qRound(*row.speed)) : QString();
    case ClassColumn::ErrorRate:
        return row.errorRate ? texts::percent(decimal(locale, *row.errorRate, 1)) : QString();
    case ClassColumn::ExamSpeed:
        return row.exam ? decimal(locale, row.exam->netPerMinute, 1) : QString();
    case ClassColumn::ExamErrorRate:
        return row.exam ? texts::percent(decimal(locale, row.exam->errorRate, 2)) : QString();
    case ClassColumn::Grade:
        return row.exam ? gradeText(*row.exam) : QString();
    case ClassColumn::Count:
        break;
    }
    return {};
}

QString keyName(const QString& expected) {
    if (expected == QLatin1String(" ")) {
        return texts::kSpaceName;
    }
    if (expected == QLatin1String("\n")) {
        return texts::kEnterName;
    }
    if (expected == QLatin1String("\t")) {
        return texts::kTabName;
    }
    return expected;
}

QByteArray toCsv(const QList<StudentRow>& rows) {
    QList<QStringList> lines;
    lines.reserve(rows.size());
    for (const StudentRow& row : rows) {
        const auto optional = [](const auto& value, auto write) {
            return value ? write(*value) : QString();
        };
        lines.append({
            csvField(row.fullName),
            csvField(row.login),
            csvField(row.className),
            QString::number(row.results),
            row.lastPractice.isValid() ? csvDateTime(row.lastPractice) : QString(),
            optional(row.highestLesson, [](int n) { return QString::number(n); }),
            optional(row.speed, [](double v) { return QString::number(qRound(v)); }),
            optional(row.errorRate, [](double v) { return csvDecimal(v, 1); }),
            optional(row.exam, [](const ClassExam& e) { return csvDecimal(e.netPerMinute, 1); }),
            optional(row.exam, [](const ClassExam& e) { return csvDecimal(e.errorRate, 2); }),
            optional(row.exam, [](const ClassExam& e) { return gradeText(e); }),
        });
    }
    return csvDocument(texts::kClassCsvHeader, lines);
}

QString overviewHtml(const ClassOverview& overview, const QString& heading, const QLocale& locale) {
    QString html =
        QStringLiteral("<html><body><h2>%1</h2>"
                       "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\""
                       " style=\"font-size: 9pt\"><tr>")
            .arg(heading.toHtmlEscaped());
    constexpr int columns = static_cast<int>(ClassColumn::Count);
    for (int c = 0; c < columns; ++c) {
        html += QStringLiteral("<th>%1</th>").arg(classHeader(ClassColumn(c)).toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
    for (const StudentRow& row : overview.students) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < columns; ++c) {
            const bool figure = c >= static_cast<int>(ClassColumn::Results) &&
                                c != static_cast<int>(ClassColumn::LastPractice);
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(figure ? QStringLiteral(" align=\"right\"") : QString(),
                             classCell(row, ClassColumn(c), locale).toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><p><b>%1</b> ").arg(texts::kWeakestKeysTitle.toHtmlEscaped());
    QStringList keys;
    for (const ClassKey& key : overview.weakestKeys) {
        keys.append(texts::weakestEntry(keyName(key.expected), decimal(locale, key.errorRate(), 1))
                        .toHtmlEscaped());
    }
    html += keys.isEmpty() ? texts::kNoWeakKeys : keys.join(QStringLiteral(", "));
    html += QStringLiteral(" <small>%1</small></p></body></html>")
                .arg(texts::weakestKeysNote(ClassOverviewReader::kMinRankedStrokes));
    return html;
}

} // namespace tipora
