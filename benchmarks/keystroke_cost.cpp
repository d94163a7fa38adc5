// What one keystroke costs inside the program: the real main window gets real key events, which
// go through its key preview, the handlers and the binder's sync of every changed widget; the
// time from the press being delivered to it returning is measured, without the drawing that
// follows (the keystroke-to-screen benchmark sees that). Then ten whole lessons are typed
// without a mistake, to see whether resident memory grows from one to the next. Last, a drill
// of weak keys is built from the bundled course, as "Procvičit slabé klávesy" builds it.
//   bench_keystroke_cost [keystrokes = 2000]
// Run with QT_QPA_PLATFORM=offscreen; prints one JSON object on its last line.
#include "app/settings_file.h"
#include "history/key_tally.h"
#include "lessons/weak_key_drill.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "window/frm_tipora.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#ifndef TIPORA_DATA_DIR
#error "TIPORA_DATA_DIR must name the bundled course"
#endif

namespace {

// The program's own platform, except that nothing waits for a person: the box at the end of a
// lesson is answered at once and the clicks are counted, not played (their cost is the sound
// stream's, measured by the beat benchmarks).
class UnattendedPlatform : public tipora::ui::QtPlatform {
public:
    void beep() override { ++beeps; }
    tipora::MessageResult messageBox(const QString&, const QString&,
                                     tipora::MessageButtons buttons) override {
        ++messages;
        return buttons == tipora::MessageButtons::YesNo ? tipora::MessageResult::No
                                                        : tipora::MessageResult::Ok;
    }
    int beeps = 0;
    int messages = 0;
};

// The history's count of each checked key, timed where the learner's typing feeds it.
class TimedTally final : public tipora::ResultsRecording {
public:
    void lessonStarted(const tipora::LessonId&, const tipora::PracticeCounters&) override {}
    void keyChecked(const tipora::KeyCheck& check) override {
        clock_.start();
        tally_.count(check);
        nanoseconds.push_back(double(clock_.nsecsElapsed()));
    }
    std::optional<QString> lessonEnded(const tipora::PracticeCounters&, tipora::LessonEnd,
                                       int) override {
        tally_.clear();
        return std::nullopt;
    }
    std::vector<double> nanoseconds;

private:
    tipora::KeyTally tally_;
    QElapsedTimer clock_;
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(fraction * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// This thread's CPU time: unlike the wall clock, it does not count the time the thread waited
// for a core on a busy machine.
qint64 threadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

long statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct Key {
    Qt::Key key;
    QString text;
};

Key keyFor(QChar c) {
    if (c == u' ')
        return {Qt::Key_Space, QStringLiteral(" ")};
    if (c.isLetter() && c.unicode() < 128)
        return {Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A')), QString(c)};
    return {Qt::Key_unknown, QString(c)};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;

    QTemporaryDir dir;
    const QDir data(QStringLiteral(TIPORA_DATA_DIR));
    for (const QString& name : data.entryList({QStringLiteral("*.dat")}, QDir::Files))
        QFile::copy(data.filePath(name), dir.filePath(name));
    QDir::setCurrent(dir.path());
    // No click on keys or errors: the handlers' own cost is what is measured here.
    tipora::writeSettingsFile(QStringLiteral("tipora.ini"), {100, 0, 0, 0});

    tipora::Promenne shared;
    shared.TypKlavesnice = 1;
    UnattendedPlatform platform;
    tipora::FrmTipora model(shared, platform);
    tipora::ui::MainWindow window(model, platform);
    TimedTally tally;
    // Its figures' own memory is touched now, so that it does not count as the tutor's growth.
    tally.nanoseconds.resize(1 << 16);
    tally.nanoseconds.clear();
    model.setResultsRecording(&tally);
    window.load();
    window.show();
    QApplication::processEvents();
    QAction* lesson1 = window.menuBar()->findChild<QAction*>(model.form.mnuLekceN[0].name);
    if (lesson1 == nullptr) {
        std::printf("no lesson menu item\n");
        return 2;
    }
    lesson1->trigger();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    double lastPressCpu = 0;
    const auto press = [&](const Key& key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QKeyEvent down(QEvent::KeyPress, key.key, Qt::NoModifier, key.text);
        QKeyEvent up(QEvent::KeyRelease, key.key, Qt::NoModifier, key.text);
        const qint64 cpuStart = threadCpuNanoseconds();
        const qint64 start = clock.nsecsElapsed();
        QApplication::sendEvent(target, &down);
        const qint64 pressed = clock.nsecsElapsed();
        lastPressCpu = double(threadCpuNanoseconds() - cpuStart) / 1e3;
        QApplication::sendEvent(target, &up);
        const qint64 released = clock.nsecsElapsed();
        // Lets the window draw, as it would between two keys.
        QApplication::processEvents();
        return std::pair(double(pressed - start) / 1e3, double(released - pressed) / 1e3);
    };
    const Key enter{Qt::Key_Return, QStringLiteral("\r")};
    const Key wrong{Qt::Key_Q, QStringLiteral("q")};

    // The lesson's first line over and over, with a wrong key now and then (a line with a
    // mistake comes again, so the line stays the same).
    const QString line = model.session().line().text();
    std::vector<double> pressCost;
    std::vector<double> pressCpu;
    std::vector<double> releaseCost;
    // By what the key does: a right character, a wrong one, Enter closing the line.
    std::vector<double> rightCpu, wrongCpu, enterCpu;
    int errors = 0;
    for (int i = 0, column = 0; i < keystrokes; ++i) {
        Key key = column < line.size() ? keyFor(line.at(column)) : enter;
        std::vector<double>* byKind = column < line.size() ? &rightCpu : &enterCpu;
        if (i % 9 == 4 && column < line.size()) {
            key = wrong;
            byKind = &wrongCpu;
            ++errors;
        } else {
            column = column < line.size() ? column + 1 : 0;
        }
        const auto [down, up] = press(key);
        pressCost.push_back(down);
        pressCpu.push_back(lastPressCpu);
        byKind->push_back(lastPressCpu);
        releaseCost.push_back(up);
    }
    const bool counted = model.session().statistics().errors() == errors;

    // Ten whole lessons, each typed without a mistake from its start to its end.
    std::vector<long> rssAfterLesson;
    int linesTyped = 0;
    for (int lesson = 0; lesson < 10; ++lesson) {
        if (!model.session().lessonLoaded() || model.session().started()) {
            model.mnuStop_Click();
            window.refresh();
        }
        lesson1->trigger();
        QApplication::processEvents();
        for (int guard = 0; model.session().lessonLoaded() && guard < 1000; ++guard) {
            if (model.form.tmrText.enabled()) {
                // A message between the exercises: its timer, not the learner, moves on.
                model.tmrText_Timer();
                window.refresh();
                QApplication::processEvents();
                continue;
            }
            const QString text = model.session().line().text();
            const int lineBefore = model.session().statistics().lines();
            for (const QChar c : text)
                press(keyFor(c));
            press(enter);
            if (model.session().statistics().lines() == lineBefore)
                break; // the line was not taken: nothing more to type here
            ++linesTyped;
            if (!model.session().started())
                break;
        }
        rssAfterLesson.push_back(statusKilobytes("VmRSS"));
    }

    // The clock's tick as its timer binding runs it: the handler, then the whole window brought
    // up to date. Most ticks change nothing visible, so this is what an idle window pays twice
    // a second.
    std::vector<double> tickCpu;
    for (int i = 0; i < 2000; ++i) {
        const qint64 cpuStart = threadCpuNanoseconds();
        model.tmrTime_Timer();
        window.refresh();
        tickCpu.push_back(double(threadCpuNanoseconds() - cpuStart) / 1e3);
    }
    QApplication::processEvents();

    // A learner through the whole course, slow and wrong on the letters with diacritics.
    tipora::PracticeRecord record;
    for (int lesson = 1; lesson <= tipora::kLessonItemCount; ++lesson) {
        record.finishedLessons.append(lesson);
    }
    const QString alphabet = QStringLiteral("aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž");
    for (qsizetype i = 0; i < alphabet.size(); ++i) {
        const int errors = alphabet[i].unicode() > 0x7F ? 6 + int(i % 5) : int(i % 3);
        record.keys.append({alphabet[i], 300, errors, 280, 280 * (200 + 10 * errors)});
    }
    std::vector<double> drillMs;
    tipora::WeakKeyDrill drill;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer drillTimer;
        drillTimer.start();
        drill =
            tipora::weakKeyDrill(record, tipora::courseWords(QDir(QStringLiteral(TIPORA_DATA_DIR))),
                                 static_cast<quint32>(i));
        drillMs.push_back(double(drillTimer.nsecsElapsed()) / 1e6);
    }

    const long growth = rssAfterLesson.back() - rssAfterLesson.front();
    std::printf("keystrokes: %d (%d wrong, counted %s), line \"%s\"\n", keystrokes, errors,
                counted ? "right" : "WRONG", qPrintable(line));
    std::printf("press handled: median %.1f us, p99 %.1f us, max %.1f us\n",
                percentile(pressCost, 0.5), percentile(pressCost, 0.99),
                percentile(pressCost, 1.0));
    std::printf("press handled, thread CPU time: median %.1f us, p99 %.1f us, max %.1f us\n",
                percentile(pressCpu, 0.5), percentile(pressCpu, 0.99), percentile(pressCpu, 1.0));
    for (const auto& [name, costs] :
         {std::pair("right key", &rightCpu), std::pair("wrong key", &wrongCpu),
          std::pair("Enter", &enterCpu)}) {
        std::printf("  %s (%zu), thread CPU time: median %.1f us, p99 %.1f us\n", name,
                    costs->size(), percentile(*costs, 0.5), percentile(*costs, 0.99));
    }
    std::printf("key counted for the history (%zu): median %.0f ns, p99 %.0f ns\n",
                tally.nanoseconds.size(), percentile(tally.nanoseconds, 0.5),
                percentile(tally.nanoseconds, 0.99));
    std::printf("release handled: median %.1f us, p99 %.1f us, max %.1f us\n",
                percentile(releaseCost, 0.5), percentile(releaseCost, 0.99),
                percentile(releaseCost, 1.0));
    std::printf("clock tick with the window brought up to date, thread CPU time: median %.1f us, "
                "p99 %.1f us\n",
                percentile(tickCpu, 0.5), percentile(tickCpu, 0.99));
    std::printf("ten lessons typed (%d lines, %d end messages): VmRSS %ld kB after the first, "
                "%ld kB after the tenth (growth %ld kB), VmHWM %ld kB\n",
                linesTyped, platform.messages, rssAfterLesson.front(), rssAfterLesson.back(),
                growth, statusKilobytes("VmHWM"));
    std::printf("weak-key drill built from the course (%d lines, keys %s; first \"%s\"): median "
                "%.1f ms, max %.1f ms (target 50 ms)\n",
                int(drill.lines.size()), qPrintable(drill.weakKeys),
                qPrintable(drill.lines.value(0)), percentile(drillMs, 0.5),
                percentile(drillMs, 1.0));
    std::printf(
        "{\"press_us_median\": %.2f, \"press_us_p99\": %.2f, \"press_us_max\": %.2f, "
        "\"press_cpu_us_median\": %.2f, \"press_cpu_us_p99\": %.2f, "
        "\"release_us_median\": %.2f, \"release_us_p99\": %.2f, "
        "\"clock_tick_cpu_us_median\": %.2f, \"key_count_ns_p99\": %.0f, \"lines_typed\": %d, "
        "\"rss_kb_first_lesson\": "
        "%ld, \"rss_kb_tenth_lesson\": "
        "%ld, \"rss_kb_growth_ten_lessons\": %ld, \"drill_ms_median\": %.2f}\n",
        percentile(pressCost, 0.5), percentile(pressCost, 0.99), percentile(pressCost, 1.0),
        percentile(pressCpu, 0.5), percentile(pressCpu, 0.99), percentile(releaseCost, 0.5),
        percentile(releaseCost, 0.99), percentile(tickCpu, 0.5),
        percentile(tally.nanoseconds, 0.99), linesTyped, rssAfterLesson.front(),
        rssAfterLesson.back(), growth, percentile(drillMs, 0.5));
    return counted && linesTyped > 0 && drill.lines.size() == tipora::kDrillLineCount ? 0 : 1;
}
