// Measures the metronome's beat in the running program: the real window, its timer binding
// and a tempo of 120 (500 ms a beat) unless another is given, for as long as asked (60 s unless
// a number of seconds is given).
//   bench_metronome [seconds = 60] [beats per minute = 120]
// Prints the mean beat and how far single beats strayed, then the same as JSON; exits 1 when
// the mean is more than 2 ms off.
#include "app/settings_file.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "window/frm_tipora.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// The program's own platform, with the metronome's ticks timed instead of heard.
class TimedBeeps : public tipora::ui::QtPlatform {
public:
    void metronomeBeat() override { beats.push_back(clock.nsecsElapsed()); }
    QElapsedTimer clock;
    std::vector<qint64> beats;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    const int tempo = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 1000) : 120;
    const double period = 60000 / tempo; // the timer counts whole milliseconds

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    tipora::writeSettingsFile(QStringLiteral("tipora.ini"), {tempo, 0, 0, 0});
    // One lesson is enough: the metronome only needs a lesson under way.
    QFile course(QStringLiteral("cz.dat"));
    course.open(QIODevice::WriteOnly);
    course.write("LEKCE 01\r\nx\r\nLEKCE 02\r\n");
    course.close();
    QFile lesson(QStringLiteral("cz01.dat"));
    lesson.open(QIODevice::WriteOnly);
    lesson.write("LEKCE 01\r\nfff\r\nLEKCE 02\r\n");
    lesson.close();

    tipora::Promenne shared;
    shared.TypKlavesnice = 1;
    TimedBeeps platform;
    tipora::FrmTipora model(shared, platform);
    tipora::ui::MainWindow window(model, platform);
    window.load();
    window.show();
    model.mnuLekce_Click(1);
    platform.clock.start();
    model.imgMetronom_Click();
    window.refresh();

    QTimer::singleShot(seconds * 1000 + 250, &app, &QCoreApplication::quit);
    QApplication::exec();

    const auto& b = platform.beats;
    if (b.size() < 3) {
        std::printf("too few beats: %zu\n", b.size());
        return 1;
    }
    const double mean =
        static_cast<double>(b.back() - b.front()) / 1e6 / static_cast<double>(b.size() - 1);
    std::vector<double> deviations;
    for (std::size_t i = 1; i < b.size(); ++i) {
        deviations.push_back(std::abs(static_cast<double>(b[i] - b[i - 1]) / 1e6 - period));
    }
    std::sort(deviations.begin(), deviations.end());
    const double worst = deviations.back();
    const double p99 = deviations[std::min(
        deviations.size() - 1, std::size_t(0.99 * double(deviations.size() - 1) + 0.5))];
    std::printf("beats: %zu over %d s\nmean beat: %.3f ms (target %.0f ms)\n"
                "p99 deviation of single beats: %.3f ms, largest: %.3f ms\n",
                b.size(), seconds, mean, period, p99, worst);
    std::printf("{\"tempo\": %d, \"beats\": %zu, \"mean_error_ms\": %.4f, \"p99_jitter_ms\": %.3f, "
                "\"max_jitter_ms\": %.3f}\n",
                tempo, b.size(), mean - period, p99, worst);
    return std::abs(mean - period) <= 2.0 ? 0 : 1;
}
