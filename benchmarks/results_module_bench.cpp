// Times the results module as the tutor meets it, each run in a fresh process that, like the
// tutor, has neither Qt Sql nor Qt Charts mapped: the UI thread's share of choosing the first
// lesson (starting the worker), the module loaded and the file opened behind it, the UI
// thread's longest stop while the module is taken over, and storing a result at the lesson's
// end, with the file of an earlier start there. Also a new learner's lesson ending at once,
// before the module is in: what the learner waits then, the file made on the spot.
// Prints medians over the runs; exits 1 when storing at a lesson's end misses 5 ms.
//   bench_results_module [RUNS] [FOLDER]
#include "bench_figures.h"
#include "history/lesson_result.h"
#include "ui/results_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using tipora::bench::median;

tipora::LessonResult sample(int i) {
    tipora::LessonResult r;
    r.when = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(qint64{i} * 1800);
    r.lesson = 1 + i % 50;
    r.caption = QStringLiteral("f j d k");
    r.seconds = 120;
    r.keystrokes = 240;
    r.lines = 5;
    r.keystrokesPerMinute = 120;
    r.finished = true;
    return r;
}

double ms(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// One run; prints "start loaded stop store" in milliseconds, or with `immediate` only the time
// a lesson ending at once, before the module is in, waits for storing its result.
int child(const QString& folder, bool immediate) {
    tipora::ui::LateResults results(
        QDir(folder).filePath(QStringLiteral("results.sqlite")),
        {QCoreApplication::applicationDirPath() + QStringLiteral("/../src")});
    QElapsedTimer clock;
    clock.start();
    results.prepare();
    if (immediate) {
        const bool stored = results.record(sample(1));
        std::printf("%.3f\n", ms(clock));
        return stored ? 0 : 2;
    }
    const double start = ms(clock);
    double stop = 0;
    QElapsedTimer step;
    // Polled, not waited for, so that each round times only the work done on this thread.
    while (!results.moduleLoaded()) {
        QThread::usleep(500);
        step.start();
        QCoreApplication::processEvents();
        stop = std::max(stop, ms(step));
    }
    const double loaded = ms(clock);
    clock.start();
    if (!results.record(sample(1))) {
        return 2;
    }
    std::printf("%.3f %.3f %.3f %.3f\n", start, loaded, stop, ms(clock));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 3 && arguments[1] == QStringLiteral("--child")) {
        return child(arguments[2], arguments[3] == QStringLiteral("immediate"));
    }
    const int runs = arguments.size() > 1 ? std::max(1, arguments[1].toInt()) : 9;
    QTemporaryDir temporary(arguments.size() > 2 ? arguments[2] + QStringLiteral("/rm-XXXXXX")
                                                 : QString());
    std::vector<std::vector<double>> figures(5);
    // Each folder first as a new learner's (the file made by a lesson ending at once), then as
    // at the next start of the tutor, with the file there.
    for (int run = 0; run < 2 * runs; ++run) {
        const bool immediate = run % 2 == 0;
        const QString folder = QDir(temporary.path()).filePath(QString::number(run / 2));
        QDir().mkpath(folder);
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--child"), folder,
                       immediate ? QStringLiteral("immediate") : QStringLiteral("late")});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            std::printf("run %d failed\n", run);
            return 2;
        }
        const QStringList values =
            QString::fromLatin1(process.readAllStandardOutput()).simplified().split(u' ');
        for (int i = 0; i < values.size(); ++i) {
            figures[immediate ? 4 : i].push_back(values[i].toDouble());
        }
    }
    const char* names[] = {
        "choosing the first lesson (UI thread)", "module loaded and file opened (worker)",
        "longest UI-thread stop while it comes in", "storing one result at a lesson's end",
        "a first lesson ending at once (new file)"};
    for (int i = 0; i < 5; ++i) {
        std::printf("%-42s median %7.2f ms  max %7.2f ms  %d runs\n", names[i], median(figures[i]),
                    *std::max_element(figures[i].begin(), figures[i].end()), runs);
    }
    return median(figures[3]) < 5.0 ? 0 : 1;
}
