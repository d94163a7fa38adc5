// The teacher's overview against a private PostgreSQL server loaded with the classroom script:
// a few results sent as two students, read back as the teacher and checked against figures
// worked out by hand.
#include "classroom/class_overview.h"
#include "classroom/classroom_texts.h"
#include "support/classroom_server.h"
#include "ui/class_window.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

using namespace tipora;

namespace {

const QDateTime kPeriodStart(QDate(2026, 11, 20), QTime(0, 0), Qt::UTC);

QJsonObject key(const QString& expected, int strokes, int errors, const QString& typed = {}) {
    const int timed = typed.isEmpty() ? strokes - errors : 0;
    return {{"expected", expected}, {"typed", typed.isEmpty() ? QJsonValue() : QJsonValue(typed)},
            {"strokes", strokes},   {"errors", errors},
            {"timed", timed},       {"total_ms", timed * 200}};
}

struct Sent {
    QString kind;
    int lesson;
    bool finished;
    QString when; // day of December 2026, or a full date
    int perMinute;
    int keystrokes;
    int errors;
    QJsonArray keys = {};
    QJsonValue exam = QJsonValue();
};

QJsonObject exam(double net, double rate, QJsonValue grade) {
    return {{"minutes", 10},         {"minutes_used", 10.0}, {"penalty", 10},
            {"gross_strokes", 1000}, {"errors", 5},          {"net_strokes", 950},
            {"net_per_minute", net}, {"error_rate", rate},   {"grade", grade}};
}

} // namespace

class TestClassOverview : public QObject {
    Q_OBJECT

    test::ClassroomServer server_;
    int sent_ = 0;

    QSqlDatabase connectAs(const QString& login) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), login);
        db.setHostName(server_.socket);
        db.setPort(server_.port);
        db.setDatabaseName(QStringLiteral("tipora"));
        db.setUserName(login);
        db.setPassword(QStringLiteral("heslo-") + login);
        if (!db.open()) {
            qWarning() << db.lastError().text();
        }
        return db;
    }

    void send(const QString& login, const QString& className, const QString& name, const Sent& s) {
        const QString when = s.when.size() <= 2 ? QStringLiteral("2026-12-%1T10:00:00Z")
                                                      .arg(s.when.toInt(), 2, 10, QLatin1Char('0'))
                                                : s.when;
        const QJsonObject payload{
            {"uid",
             QStringLiteral("00000000-0000-4000-8000-%1").arg(++sent_, 12, 10, QLatin1Char('0'))},
            {"class", className},
            {"name", name},
            {"recorded_at", when},
            {"kind", s.kind},
            {"lesson", s.lesson},
            {"caption", QStringLiteral("Lekce")},
            {"keyboard_type", 2},
            {"seconds", 300},
            {"keystrokes", s.keystrokes},
            {"errors", s.errors},
            {"lines", 10},
            {"keystrokes_per_minute", s.perMinute},
            {"errors_per_line", 0.5},
            {"finished", s.finished},
            {"keys", s.keys},
            {"exam", s.exam}};
        QSqlQuery q(QSqlDatabase::database(login));
        q.prepare(QStringLiteral("SELECT tipora.submit_result(CAST(? AS jsonb))"));
        q.addBindValue(QString::fromUtf8(QJsonDocument(payload).toJson(QJsonDocument::Compact)));
        QVERIFY2(q.exec() && q.next() && q.value(0).toBool(), qPrintable(q.lastError().text()));
    }

    ClassOverview read(const QString& className, std::optional<QDateTime> since) {
        return ClassOverviewReader(QStringLiteral("teacher")).overview({className, since});
    }

private slots:
    void initTestCase() {
        const int status = server_.start();
        if (status == 77) {
            QSKIP("no PostgreSQL server here");
        }
        QCOMPARE(status, 0);
        QVERIFY(connectAs(QStringLiteral("student1")).isOpen());
        QVERIFY(connectAs(QStringLiteral("student2")).isOpen());
        QVERIFY(connectAs(QStringLiteral("teacher")).isOpen());

        const QString s1 = QStringLiteral("student1");
        const QString jana = QStringLiteral("Jana Nováková");
        // Before the period: the only finished course lesson, and a key that then stays out.
        send(s1, "3.B", jana,
             {"course", 3, true, "2026-11-01T10:00:00Z", 100, 1000, 10, {key("z", 100, 90)}});
        // A further course lesson, not finished.
        send(s1, "3.B", jana,
             {"course",
              7,
              false,
              "1",
              200,
              1000,
              30,
              {key("a", 30, 3), key("a", 0, 3, "s"), key("b", 19, 19), key("c", 40, 2),
               key("e", 50, 0)}});
        send(s1, "3.B", jana,
             {"drill", 9, true, "2", 300, 500, 5, {key("b", 1, 0), key("d", 19, 5)}});
        // Neither counts to the speed: an own text and copy tests are measured otherwise.
        send(s1, "3.B", jana, {"own_text", 12, true, "3", 50, 100, 50});
        send(s1, "3.B", jana,
             {"exam", 20, true, "2026-11-25T10:00:00Z", 160, 1000, 5, {}, exam(150.0, 1.5, 2)});
        send(s1, "3.B", jana, {"exam", 20, true, "4", 100, 1000, 5, {}, exam(90.5, 3.25, 0)});
        send("student2", "2.A", "Čech; Petr",
             {"course", 5, true, "1", 180, 900, 9, {key("a", 70, 0)}});
        send("student2", "2.A", "Čech; Petr",
             {"exam", 0, true, "2", 120, 1000, 5, {}, exam(120.0, 0.5, QJsonValue())});
    }

    void studentsFiguresOverThePeriodAndOverall() {
        const ClassOverview o = read({}, kPeriodStart);
        QVERIFY2(o.error.isEmpty(), qPrintable(o.error));
        QCOMPARE(o.classes, QStringList({"2.A", "3.B"}));
        QCOMPARE(o.students.size(), 2);
        const StudentRow& jana = o.students[1];
        QCOMPARE(jana.login, QStringLiteral("student1"));
        QCOMPARE(jana.results, 5);
        QCOMPARE(jana.lastPractice, QDateTime(QDate(2026, 12, 4), QTime(10, 0), Qt::UTC));
        QCOMPARE(jana.highestLesson, 3);
        QCOMPARE(jana.speed, 250.0);                    // (200 + 300) / 2
        QCOMPARE(qRound(*jana.errorRate * 1000), 2333); // 35 of 1 500
        QVERIFY(jana.exam);
        QCOMPARE(jana.exam->netPerMinute, 90.5);
        QCOMPARE(jana.exam->errorRate, 3.25);
        QCOMPARE(jana.exam->grade, 0);
        QCOMPARE(jana.keyboardType, 2);
        // Each by its own rule, with the class's.
        QCOMPARE(o.students[0].exam->grade, std::nullopt);

        const StudentRow all = read(QStringLiteral("3.B"), std::nullopt).students.value(0);
        QCOMPARE(all.results, 6);
        QCOMPARE(all.speed, 200.0);
        QCOMPARE(qRound(*all.errorRate * 10), 18); // 45 of 2 500
        // A period after the last copy test has none, and nothing in it.
        const StudentRow later =
            read(QStringLiteral("3.B"), QDateTime(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC))
                .students.value(0);
        QCOMPARE(later.results, 0);
        QVERIFY(!later.exam && !later.speed && !later.errorRate);
        QCOMPARE(later.highestLesson, 3);
    }

    void classFilterAndWeakestKeys() {
        const ClassOverview b = read(QStringLiteral("3.B"), kPeriodStart);
        QCOMPARE(b.students.size(), 1);
        // b has exactly the 20 strokes needed, d one too few, e no errors, z is before the period.
        const auto keys = [](const ClassOverview& o) {
            QStringList shown;
            for (const ClassKey& k : o.weakestKeys) {
                shown.append(
                    QStringLiteral("%1 %2/%3").arg(k.expected).arg(k.errors).arg(k.strokes));
            }
            return shown;
        };
        QCOMPARE(keys(b), QStringList({"b 19/20", "a 3/30", "c 2/40"}));
        QCOMPARE(keys(read(QStringLiteral("3.B"), std::nullopt)),
                 QStringList({"b 19/20", "z 90/100", "a 3/30", "c 2/40"}));
        // Summed over both classes: student2's clean a lowers a below c.
        QCOMPARE(keys(read({}, kPeriodStart)), QStringList({"b 19/20", "c 2/40", "a 3/100"}));
        QCOMPARE(keys(read({}, std::nullopt)),
                 QStringList({"b 19/20", "z 90/100", "c 2/40", "a 3/100"}));
        QCOMPARE(read(QStringLiteral("4.C"), kPeriodStart).students.size(), 0);
    }

    void csvAsTheSpreadsheetReadsIt() {
        QList<StudentRow> rows = read(QStringLiteral("2.A"), kPeriodStart).students;
        QCOMPARE(rows.size(), 1);
        rows[0].lastPractice = {}; // written as local time: tested with the history's export
        const QByteArray expected =
            "\xEF\xBB\xBF" + texts::kClassCsvHeader.toUtf8() + "\r\n" +
            QStringLiteral("\"Čech; Petr\";student2;2.A;2;;5;180;1,0;120,0;0,50;bez známky\r\n")
                .toUtf8();
        QCOMPARE(toCsv(rows), expected);
    }

    void studentHistoryAndKeysInTheLocalShape() {
        const ClassOverview o = read(QStringLiteral("3.B"), kPeriodStart);
        const StudentHistory h = ClassOverviewReader(QStringLiteral("teacher"))
                                     .student(o.students[0].studentId, kPeriodStart);
        QVERIFY2(h.error.isEmpty(), qPrintable(h.error));
        QCOMPARE(h.results.size(), 5);
        QCOMPARE(h.results[0].kind, LessonId::Kind::Exam);
        QCOMPARE(h.results[0].exam->errorRateHundredths, 325);
        QCOMPARE(h.results[3].lesson, 7);
        QCOMPARE(h.results[4].exam->grade, 2);
        const QList<KeyFigure> expected{{"a", {}, 30, 3, 27, 5400}, {"a", "s", 0, 3, 0, 0},
                                        {"b", {}, 20, 19, 1, 200},  {"c", {}, 40, 2, 38, 7600},
                                        {"d", {}, 19, 5, 14, 2800}, {"e", {}, 50, 0, 50, 10000}};
        QCOMPARE(h.keys, expected);
    }

    void windowFillsItsTable() {
        ui::ClassWindow window(QStringLiteral("teacher"));
        QCOMPARE(window.table().model()->rowCount(), 2);
        QVERIFY(window.overview().error.isEmpty());
    }

    void failuresComeBackAsMessages() {
        QCOMPARE(ClassOverviewReader(QStringLiteral("student1")).overview({}).error,
                 texts::kNotATeacher);
        QVERIFY(server_.down());
        QCOMPARE(read({}, std::nullopt).error, texts::kConnectionLost);
        QVERIFY(server_.up());
        // The connection the server dropped is opened again.
        QCOMPARE(read({}, std::nullopt).students.size(), 2);
    }
};

QTEST_MAIN(TestClassOverview)
#include "test_class_overview.moc"
