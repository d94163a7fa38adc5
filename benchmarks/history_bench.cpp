// Times the results history where the learner waits for it: storing a lesson's result with its
// key figures at its end (each in its own transaction, synced to the disk), opening the results
// window over 10,000 stored results until it and its chart are drawn, and the keyboard's heat map
// over the same 10,000 until it is drawn. Prints the figures beside their targets (5 ms, 150 ms
// and 150 ms) and exits 1 when a median misses its target. The folder is the temporary one
// unless given: pass a folder on the disk the learner's settings live on.
#include "app/platform.h"
#include "bench_figures.h"
#include "history/results_store.h"
#include "ui/exam_result_window.h"
#include "ui/key_heat_map_view.h"
#include "ui/results_window.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using tipora::bench::median;
using tipora::bench::report;

class SilentPlatform : public tipora::Platform {
public:
    void beep() override {}
    tipora::MessageResult messageBox(const QString&, const QString&,
                                     tipora::MessageButtons) override {
        return tipora::MessageResult::No;
    }
    void showDemoDialog(tipora::FrmDemo&) override {}
    void showSettingsDialog(tipora::FrmNastaveni&) override {}
    void showAboutBox(tipora::FrmOProgramu&) override {}
    ResultsChoice showResultsWindow(int) override { return ResultsChoice::Closed; }
    QString chooseTextFile() override { return {}; }
    bool chooseExam(tipora::ExamChoice&) override { return false; }
    void runExam(tipora::ExamSession&) override {}
    void showExamResult(const tipora::ExamSheet&) override {}
    QTime currentTime() const override { return QTime(12, 0); }
    qint64 elapsedMilliseconds() const override { return 0; }
    QLocale locale() const override { return QLocale(QLocale::Czech, QLocale::CzechRepublic); }
    QSize screenSizeTwips() const override { return {19200, 15360}; }
    void quit() override {}
};

// A lesson's keys as the tutor counts them: about forty characters, each with its own row, and a
// confusion row for each character that had errors.
QList<tipora::KeyFigure> sampleKeys(int i) {
    static const QString characters = QStringLiteral("asdfjklůghqwertzuiopúyxcvbnm,.ěščřžýáíé \n");
    QList<tipora::KeyFigure> rows;
    for (qsizetype k = 0; k < characters.size(); ++k) {
        const int n = static_cast<int>(k);
        const int strokes = 3 + (i * 7 + n * 13) % 20;
        const int errors = (i + n) % 11 == 0 ? 1 + (i + n) % 3 : 0;
        const int right = strokes - errors;
        const QString expected(characters[k]);
        rows.append(
            {expected, {}, strokes, errors, right, right * qint64{180 + (n * 37 + i) % 250}});
        if (errors > 0) {
            rows.append(
                {expected, QString(characters[(k + 1) % characters.size()]), 0, errors, 0, 0});
        }
    }
    return rows;
}

tipora::LessonResult sample(int i) {
    tipora::LessonResult r;
    r.when = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(qint64{i} * 1800);
    r.lesson = 1 + i % 50;
    r.caption = QStringLiteral("f j d k");
    r.seconds = 120 + i % 60;
    r.keystrokes = 200 + i % 150;
    r.errors = i % 9;
    r.lines = 5;
    r.keystrokesPerMinute = r.keystrokes * 60 / r.seconds;
    r.errorsPerLine = (r.errors * 10 / 5) / 10.0;
    r.finished = i % 4 != 0;
    r.keys = sampleKeys(i);
    return r;
}

// Fills a results file with n results through the store itself, so the file is exactly what the
// tutor writes. One transaction each, as the tutor stores them: about half a minute for 10,000.
void fill(const QString& path, int n) {
    tipora::SqliteResultsStore store(path);
    for (int i = 0; i < n; ++i) {
        if (!store.record(sample(i))) {
            std::printf("cannot fill %s: %s\n", qPrintable(path), qPrintable(store.failure()));
            std::exit(2);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir temporary(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hb-XXXXXX") : QString());
    const QDir dir(temporary.path());
    bool ok = true;

    {
        // The file is opened when the first lesson of a run is chosen, so its end only stores.
        const QString path = dir.filePath(QStringLiteral("store.sqlite"));
        fill(path, 1000);
        std::vector<double> opening;
        std::vector<double> storing;
        for (int run = 0; run < 20; ++run) {
            tipora::SqliteResultsStore store(path);
            QElapsedTimer clock;
            clock.start();
            store.prepare();
            opening.push_back(clock.nsecsElapsed() / 1e6);
            for (int i = 0; i < 10; ++i) {
                clock.start();
                if (!store.record(sample(run * 10 + i))) {
                    std::printf("storing failed: %s\n", qPrintable(store.failure()));
                    return 2;
                }
                storing.push_back(clock.nsecsElapsed() / 1e6);
            }
        }
        ok = report("storing a result and its key figures", storing, 5) && ok;
        report("opening the file (as the first lesson starts)", opening, 0);
    }

    {
        const QString path = dir.filePath(QStringLiteral("window.sqlite"));
        fill(path, 10000);
        SilentPlatform platform;
        std::vector<double> open;
        for (int run = 0; run < 7; ++run) {
            tipora::SqliteResultsStore store(path);
            QElapsedTimer clock;
            clock.start();
            tipora::ui::ResultsWindow window(store, platform);
            window.show();
            // Everything drawn once, the chart's 20,000 points included.
            const QPixmap drawn = window.grab();
            open.push_back(clock.nsecsElapsed() / 1e6);
            if (drawn.isNull() || window.view().shown().size() != 10000 ||
                !window.view().shown().back().when.isValid()) {
                std::printf("the window did not show the 10,000 results\n");
                return 2;
            }
        }
        ok = report("opening the window over 10,000 results", open, 150) && ok;

        // The period the view opens with, the last week (336 results here), and the heaviest
        // one, every key of the 10,000 results added up.
        const QDateTime now = sample(9999).when;
        const auto heatMap = [&](const tipora::KeyPeriod& period) {
            std::vector<double> ms;
            for (int run = 0; run < 7; ++run) {
                tipora::SqliteResultsStore store(path);
                QElapsedTimer clock;
                clock.start();
                tipora::ui::KeyHeatMapView view(1, platform.locale());
                view.showFigures(store.keyFigures(period));
                view.show();
                const QPixmap drawn = view.grab();
                ms.push_back(clock.nsecsElapsed() / 1e6);
                if (drawn.isNull() || view.heatMap().slowest().size() != 10) {
                    std::printf("the heat map did not show the keys of the results\n");
                    std::exit(2);
                }
            }
            return ms;
        };
        ok = report("heat map over the last 7 days",
                    heatMap(tipora::keyPeriod(tipora::HeatPeriod::LastWeek, now)), 150) &&
             ok;
        ok = report("heat map over all 10,000 results", heatMap(tipora::KeyPeriod::everything()),
                    150) &&
             ok;
    }

    {
        // A ten-minute copy test's result sheet: about 4,000 characters marked word by word.
        QString original;
        QString typed;
        for (int word = 0; original.size() < 4000; ++word) {
            const QString w = QStringLiteral("slovo%1").arg(word % 97);
            original += w + QLatin1Char(' ');
            typed += (word % 50 == 49 ? QStringLiteral("chyba") : w) + QLatin1Char(' ');
        }
        const QList<tipora::WordMark> marks = tipora::compareWords(original, typed);
        SilentPlatform platform;
        tipora::ui::ExamResultWindow window({QStringLiteral("Eva"), QDateTime::currentDateTime(),
                                             QStringLiteral("Opis"),
                                             tipora::scoreCopyTest(marks, typed, 10, 10), marks},
                                            platform);
        std::vector<double> pdf;
        for (int run = 0; run < 7; ++run) {
            QElapsedTimer clock;
            clock.start();
            if (!window.savePdf(dir.filePath(QStringLiteral("opis.pdf")))) {
                std::printf("the result sheet was not saved\n");
                return 2;
            }
            pdf.push_back(clock.nsecsElapsed() / 1e6);
        }
        ok = report("result sheet of a copy test saved as PDF", pdf, 500) && ok;
    }
    return ok ? 0 : 1;
}
