// Measures the metronome's beat in the running program: the real window, its timer binding
// and a tempo of 120 (500 ms a beat), for as long as asked (60 s unless a number of seconds is
// given). Prints the mean beat and how far single beats strayed; exits 1 when the mean is more
// than 2 ms off.
#include "app/frm_tipora.h"
#include "app/settings_file.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// The program's own platform, with the beep timed instead of heard.
class TimedBeeps : public tipora::ui::QtPlatform {
public:
    void beep() override { beats.push_back(clock.nsecsElapsed()); }
    QElapsedTimer clock;
    std::vector<qint64> beats;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    tipora::writeSettingsFile(QStringLiteral("tipora.ini"), {120, 0, 0, 0});
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
    double worst = 0;
    for (std::size_t i = 1; i < b.size(); ++i) {
        worst = std::max(worst, std::abs(static_cast<double>(b[i] - b[i - 1]) / 1e6 - 500.0));
    }
    std::printf("beats: %zu over %d s\nmean beat: %.3f ms (target 500 ms)\n"
                "largest single deviation: %.3f ms\n",
                b.size(), seconds, mean, worst);
    return std::abs(mean - 500.0) <= 2.0 ? 0 : 1;
}
