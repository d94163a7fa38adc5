// Times the teacher's class overview where the teacher waits for it: a private PostgreSQL server
// holding a class of 30 students with 1,000 results each (about 40 key rows per result, written
// straight into the tables as the server's superuser), read as the teacher over each period the
// window offers, then one student's history, then the window itself. Prints each median beside
// its target (300 ms for the overview) and exits 1 when one misses it, 77 without a server.
#include "bench_figures.h"
#include "classroom/class_overview.h"
#include "ui/class_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using tipora::bench::median;
using tipora::bench::report;

constexpr int kStudents = 30;
constexpr int kResultsEach = 1000;
constexpr int kRuns = 9;

// Results every four hours back from now, so the last week holds 42 of each student's; every
// tenth a drill, every 17th an own text, every 25th a copy test.
const char* const kFill[] = {
    "INSERT INTO tipora.classes (name) VALUES ('3.B'), ('4.A')",
    "INSERT INTO tipora.students (login, full_name, class_id)"
    " SELECT 'zak' || s, 'Žák ' || s, 1 FROM generate_series(1, 30) s",
    "INSERT INTO tipora.results (uid, student_id, class_id, recorded_at, kind, lesson, caption,"
    " keyboard_type, seconds, keystrokes, errors, lines, keystrokes_per_minute,"
    " errors_per_line, finished)"
    " SELECT gen_random_uuid(), s, 1, now() - i * interval '4 hours',"
    " CASE WHEN i % 25 = 0 THEN 'exam' WHEN i % 17 = 0 THEN 'own_text'"
    "  WHEN i % 10 = 0 THEN 'drill' ELSE 'course' END,"
    " 1 + (1000 - i) / 20, 'Lekce', 1, 300, 900 + (i * 7 + s) % 400, (i + s) % 30, 10,"
    " 180 + (i * 7 + s) % 80, 0.5, i % 4 <> 0"
    " FROM generate_series(1, 30) s, generate_series(1, 1000) i",
    "INSERT INTO tipora.key_figures (result_id, expected, typed, strokes, errors, timed, total_ms)"
    " SELECT r.id, substr('asdfjklůghqwertzuiopúyxcvbnm,.ěščřžýáíé ', c, 1), NULL,"
    " 3 + (r.id * 7 + c * 13) % 40, CASE WHEN (r.id + c) % 11 = 0 THEN 1 + (r.id + c) % 3"
    "  ELSE 0 END, 3, 600 FROM tipora.results r, generate_series(1, 40) c",
    "INSERT INTO tipora.key_figures (result_id, expected, typed, strokes, errors, timed, total_ms)"
    " SELECT result_id, expected, 'x', 0, errors, 0, 0 FROM tipora.key_figures WHERE errors > 0",
    "INSERT INTO tipora.exam_figures (result_id, minutes, minutes_used, penalty, gross_strokes,"
    " errors, net_strokes, net_per_minute, error_rate, grade)"
    " SELECT id, 10, 10.0, 10, 2000, 5, 1950, 195.0, 0.25, id % 4"
    " FROM tipora.results WHERE kind = 'exam'",
    "ANALYZE",
};

std::vector<double> time(const std::function<bool()>& once) {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        if (!once()) {
            return {};
        }
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return ms;
}

QSqlDatabase connectAs(const QString& name, const QString& socket, int port,
                       const QString& password) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(socket);
    db.setPort(port);
    db.setDatabaseName(QStringLiteral("tipora"));
    db.setUserName(name);
    db.setPassword(password);
    if (!db.open()) {
        std::printf("cannot connect as %s: %s\n", qPrintable(name),
                    qPrintable(db.lastError().text()));
    }
    return db;
}

int cluster(const QString& command, const QString& dir, QByteArray* output = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("bash"),
            {qEnvironmentVariable("TIPORA_PG_CLUSTER", QStringLiteral(TIPORA_PG_CLUSTER)), command,
             dir});
    p.waitForFinished(120000);
    if (output != nullptr) {
        *output = p.readAllStandardOutput();
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int measure(const QString& socket, int port) {
    QSqlDatabase owner = connectAs(QStringLiteral("postgres"), socket, port, {});
    QElapsedTimer fill;
    fill.start();
    for (const char* statement : kFill) {
        QSqlQuery q(owner);
        if (!q.exec(QString::fromUtf8(statement))) {
            std::printf("filling failed: %s\n", qPrintable(q.lastError().text()));
            return 2;
        }
    }
    std::printf("%d students x %d results loaded in %.1f s\n", kStudents, kResultsEach,
                static_cast<double>(fill.elapsed()) / 1000.0);
    if (!connectAs(QStringLiteral("teacher"), socket, port, QStringLiteral("heslo-teacher"))
             .isOpen()) {
        return 2;
    }

    tipora::ClassOverviewReader reader(QStringLiteral("teacher"));
    const QDateTime now = QDateTime::currentDateTime();
    bool ok = true;
    int studentId = 0;
    const struct {
        const char* what;
        tipora::ClassFilter filter;
    } periods[] = {
        {"overview, all classes, last 7 days", {{}, now.addDays(-7)}},
        {"overview, 3.B, last 30 days", {QStringLiteral("3.B"), now.addDays(-30)}},
        {"overview, all classes, whole history", {{}, std::nullopt}},
        {"overview, 3.B, whole history", {QStringLiteral("3.B"), std::nullopt}},
    };
    for (const auto& period : periods) {
        const std::vector<double> ms = time([&] {
            const tipora::ClassOverview o = reader.overview(period.filter);
            if (!o.error.isEmpty() || o.students.size() != kStudents) {
                std::printf("the overview failed: %s\n", qPrintable(o.error));
                return false;
            }
            studentId = o.students.front().studentId;
            return true;
        });
        if (ms.empty()) {
            return 2;
        }
        ok = report(period.what, ms, 300) && ok;
    }
    const std::vector<double> student = time([&] {
        const tipora::StudentHistory h = reader.student(studentId, std::nullopt);
        return h.error.isEmpty() && h.results.size() == kResultsEach;
    });
    if (student.empty()) {
        return 2;
    }
    ok = report("one student's whole history and keys", student, 300) && ok;
    const std::vector<double> window = time([] {
        tipora::ui::ClassWindow w(QStringLiteral("teacher"));
        return w.table().model()->rowCount() == kStudents;
    });
    if (window.empty()) {
        return 2;
    }
    ok = report("the window Třída built, last 7 days", window, 300) && ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QByteArray out;
    const int status = cluster(QStringLiteral("start"), dir.path(), &out);
    if (status != 0) {
        std::printf("no private server (status %d)\n", status);
        return status == 77 ? 77 : 2;
    }
    const auto m =
        QRegularExpression(QStringLiteral("PGHOST=(\\S+) PGPORT=(\\d+)")).match(QString(out));
    const int result = m.hasMatch() ? measure(m.captured(1), m.captured(2).toInt()) : 2;
    for (const QString& name : QSqlDatabase::connectionNames()) {
        QSqlDatabase::database(name, false).close();
    }
    cluster(QStringLiteral("stop"), dir.path());
    return result;
}
