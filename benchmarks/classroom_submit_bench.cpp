// A class of thirty sending results to the classroom server at once: thirty threads, each with its
// own connection as its own student (logins bench01 … bench30), each submitting 100 results of
// about forty key figures through tipora.submit_result(). Prints the median and the 95th
// percentile of one submission beside the 20 ms target, then counts, as the teacher, what was
// stored. Exits 1 when a submission failed, when anything but exactly 3,000 results and their key
// figures are stored, or when the median misses its target.
// The server and the passwords come from libpq's environment (PGHOST, PGPORT, PGDATABASE,
// PGPASSFILE), as classroom_submit_bench.sh sets them.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <latch>
#include <thread>
#include <vector>

namespace {

constexpr int students = 30;
constexpr int resultsEach = 100;
constexpr double targetMs = 20.0;
const QString keyCharacters = QStringLiteral("asdfjklůghqwertzuiopúyxcvbnm,.ěščřžýáíé ");

// One lesson's result as the tutor sends it: about forty characters' figures; every tenth is a
// copy test with its exam figures.
QByteArray samplePayload(int student, int i) {
    QJsonArray keys;
    for (qsizetype k = 0; k < keyCharacters.size(); ++k) {
        const int n = static_cast<int>(k);
        const int strokes = 3 + (i * 7 + n * 13) % 20;
        const int errors = (i + n) % 11 == 0 ? 1 : 0;
        keys.append(QJsonObject{{"expected", QString(keyCharacters[k])},
                                {"typed", QJsonValue::Null},
                                {"strokes", strokes},
                                {"errors", errors},
                                {"timed", strokes - errors},
                                {"total_ms", (strokes - errors) * (180 + (n * 37 + i) % 250)}});
    }
    const bool exam = i % 10 == 9;
    QJsonObject result{
        {"uid", QUuid::createUuid().toString(QUuid::WithoutBraces)},
        {"class", QStringLiteral("3.B")},
        {"name", QStringLiteral("Žák %1").arg(student)},
        {"recorded_at",
         QStringLiteral("2026-12-09T10:%1:00Z").arg(i % 60, 2, 10, QLatin1Char('0'))},
        {"kind", exam ? QStringLiteral("exam") : QStringLiteral("course")},
        {"lesson", exam ? 0 : 1 + i % 50},
        {"caption", QStringLiteral("Lekce %1").arg(1 + i % 50)},
        {"keyboard_type", 1},
        {"seconds", 300},
        {"keystrokes", 1200},
        {"errors", 12},
        {"lines", 20},
        {"keystrokes_per_minute", 240},
        {"errors_per_line", 0.6},
        {"finished", true},
        {"keys", keys},
        {"exam", QJsonValue::Null}};
    if (exam) {
        result["exam"] =
            QJsonObject{{"minutes", 10},           {"minutes_used", 10.0}, {"penalty", 10},
                        {"gross_strokes", 2500},   {"errors", 3},          {"net_strokes", 2470},
                        {"net_per_minute", 247.0}, {"error_rate", 0.12},   {"grade", 1}};
    }
    return QJsonDocument(result).toJson(QJsonDocument::Compact);
}

// Host, port, database and password are left to libpq, which reads them from its environment.
QSqlDatabase connectAs(const QString& connection, const QString& login) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    db.setUserName(login);
    if (!db.open()) {
        std::fprintf(stderr, "%s cannot connect: %s\n", qPrintable(login),
                     qPrintable(db.lastError().text()));
    }
    return db;
}

double percentile(const std::vector<double>& sorted, double p) {
    return sorted[static_cast<size_t>(p * double(sorted.size() - 1) + 0.5)];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::vector<double>> times(students);
    std::atomic<int> failures{0};
    std::latch connected(students);
    std::vector<std::thread> threads;
    for (int s = 0; s < students; ++s) {
        threads.emplace_back([s, &times, &failures, &connected] {
            const QString login = QStringLiteral("bench%1").arg(s + 1, 2, 10, QLatin1Char('0'));
            {
                QSqlDatabase db = connectAs(login, login);
                QSqlQuery submit(db);
                const bool ready =
                    db.isOpen() &&
                    submit.prepare(QStringLiteral("SELECT tipora.submit_result(CAST(? AS jsonb))"));
                // The tutor has a lesson's result ready when it sends it.
                std::vector<QString> payloads;
                for (int i = 0; i < resultsEach; ++i) {
                    payloads.push_back(QString::fromUtf8(samplePayload(s, i)));
                }
                // The whole class starts together, once every connection is open.
                connected.arrive_and_wait();
                for (int i = 0; ready && i < resultsEach; ++i) {
                    QElapsedTimer timer;
                    timer.start();
                    submit.addBindValue(payloads[size_t(i)]);
                    const bool stored = submit.exec() && submit.next() && submit.value(0).toBool();
                    times[s].push_back(double(timer.nsecsElapsed()) / 1e6);
                    if (!stored) {
                        std::fprintf(stderr, "%s: result %d not stored: %s\n", qPrintable(login), i,
                                     qPrintable(submit.lastError().text()));
                        ++failures;
                    }
                    submit.finish();
                }
                if (!ready) {
                    failures += resultsEach;
                }
            }
            QSqlDatabase::removeDatabase(login);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    std::vector<double> all;
    // A session's first submission also loads the function and the tables' descriptions into
    // its server process: a tutor that connects for one result pays that.
    std::vector<double> firsts;
    for (const std::vector<double>& each : times) {
        all.insert(all.end(), each.begin(), each.end());
        if (!each.empty()) {
            firsts.push_back(each.front());
        }
    }
    std::sort(firsts.begin(), firsts.end());
    std::sort(all.begin(), all.end());
    if (all.empty()) {
        std::fprintf(stderr, "nothing was submitted\n");
        return 1;
    }
    const double median = percentile(all, 0.5);
    std::printf("%zu results submitted by %d students at once: median %.2f ms, p95 %.2f ms, "
                "max %.2f ms (target: median under %.0f ms)\n",
                all.size(), students, median, percentile(all, 0.95), all.back(), targetMs);
    std::printf("a session's first submission: median %.2f ms, max %.2f ms\n",
                percentile(firsts, 0.5), firsts.back());

    qlonglong results = -1;
    qlonglong keyRows = -1;
    {
        QSqlDatabase db = connectAs(QStringLiteral("teacher"), QStringLiteral("teacher"));
        QSqlQuery count(db);
        if (count.exec(QStringLiteral("SELECT (SELECT count(*) FROM tipora.results), "
                                      "(SELECT count(*) FROM tipora.key_figures)")) &&
            count.next()) {
            results = count.value(0).toLongLong();
            keyRows = count.value(1).toLongLong();
        } else {
            std::fprintf(stderr, "counting failed: %s\n", qPrintable(count.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("teacher"));
    const qlonglong expected = qlonglong{students} * resultsEach;
    const qlonglong expectedKeyRows = expected * keyCharacters.size();
    std::printf("stored: %lld results (%lld expected), %lld key figure rows (%lld expected), "
                "%d failed submissions\n",
                results, expected, keyRows, expectedKeyRows, failures.load());
    const bool complete = results == expected && keyRows == expectedKeyRows && failures == 0;
    return complete && median < targetMs ? 0 : 1;
}
