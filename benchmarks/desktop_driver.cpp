// Drives a real program on the X server named by DISPLAY (a private Xvfb, no window manager)
// and times what a learner sees: exec to the first window mapped, Enter to the next window
// mapped, a menu choice to the window drawn again, and each key sent through XTEST to the
// first damage of the window it changes. Reads the program's memory and CPU time from /proc.
//   bench_desktop --kind NAME [--enter] [--lesson] [--keys N] [--idle SECONDS]
//                 [--smaps FILE] -- program [arguments]
// --enter: the first window is a dialog that Enter answers, and a main window follows.
// --lesson: the main window's first menu, Down, Right, Enter (the tutor's lesson 1).
// --exam: a click on "Zkouška" in the menu bar and Enter to the dialog's "Začít": the keys then go
// to the copy test's typing area.
// --keys N: N keystrokes of the first exercise line of cz01.dat in the working folder, one
//   in nine a wrong key. --idle S: CPU time over S seconds idle, with a lesson (if any)
//   paused, and with the metronome running; BENCH_ALSO_PID names another process (the sound
//   server) whose CPU time is counted alongside.
// Prints one JSON object.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(fraction * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// --- /proc -------------------------------------------------------------------------------

long statusField(pid_t pid, const std::string& file, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

struct Memory {
    long rss = -1, pss = -1, hwm = -1;
};

Memory memoryOf(pid_t pid) {
    return {statusField(pid, "status", "VmRSS"), statusField(pid, "smaps_rollup", "Pss"),
            statusField(pid, "status", "VmHWM")};
}

// User plus system time in seconds, and each thread's voluntary context switches (a thread
// waking up and sleeping again).
struct Cpu {
    double seconds = 0;
    double mainThreadSeconds = 0; // the thread that runs the window (its id is the process's)
    std::map<std::string, long> wakeups; // by thread id
};

// User plus system seconds from a /proc stat file (a process's or one thread's).
double statSeconds(const std::string& path) {
    std::ifstream stat(path);
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(close + 2));
    std::vector<std::string> values;
    for (std::string value; fields >> value;)
        values.push_back(value);
    // After the name: state is field 3, utime 14 and stime 15 (counted from 1 with pid).
    if (values.size() <= 12)
        return 0;
    return double(std::stol(values[11]) + std::stol(values[12])) / double(sysconf(_SC_CLK_TCK));
}

Cpu cpuOf(pid_t pid) {
    Cpu cpu;
    if (pid <= 0)
        return cpu;
    const std::string process = "/proc/" + std::to_string(pid);
    cpu.seconds = statSeconds(process + "/stat");
    // The scheduler's own count is in nanoseconds; stat's clock ticks of 10 ms are too coarse
    // for the few milliseconds an idle window may spend.
    std::ifstream schedstat(process + "/task/" + std::to_string(pid) + "/schedstat");
    double onCpuNanoseconds = 0;
    if (schedstat >> onCpuNanoseconds)
        cpu.mainThreadSeconds = onCpuNanoseconds / 1e9;
    else
        cpu.mainThreadSeconds = statSeconds(process + "/task/" + std::to_string(pid) + "/stat");
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        const std::string id = task.path().filename().string();
        const long switches = statusField(pid, "task/" + id + "/status", "voluntary_ctxt_switches");
        if (switches >= 0)
            cpu.wakeups[id] = switches;
    }
    return cpu;
}

// Wake-ups between two readings, of the threads that lived through both: one that ended took
// its count with it.
long wakeupsBetween(const Cpu& before, const Cpu& after) {
    long sum = 0;
    for (const auto& [id, count] : after.wakeups) {
        const auto earlier = before.wakeups.find(id);
        sum += count - (earlier != before.wakeups.end() ? earlier->second : 0);
    }
    return sum;
}

// --- X -----------------------------------------------------------------------------------

class XSession {
public:
    bool open() {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr)
            return false;
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error) ||
            !XTestQueryExtension(display_, &event, &error, &major, &minor))
            return false;
        // A window destroyed takes its damage object with it; errors about either are expected.
        XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
        root_ = DefaultRootWindow(display_);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
        return true;
    }
    ~XSession() {
        if (display_ != nullptr)
            XCloseDisplay(display_);
    }

    // The next top-level window mapped (menus and other override-redirect windows are counted
    // in `popups` instead), or nothing within the timeout.
    std::optional<Window> waitForMap(double timeoutMs, Window except = 0) {
        const auto start = Clock::now();
        while (msSince(start) < timeoutMs) {
            if (!waitForEvent(timeoutMs - msSince(start)))
                continue;
            XEvent event;
            XNextEvent(display_, &event);
            if (handle(event) && event.type == MapNotify && !event.xmap.override_redirect &&
                event.xmap.window != except)
                return event.xmap.window;
        }
        return std::nullopt;
    }

    bool waitForPopups(int count, double timeoutMs) {
        const auto start = Clock::now();
        while (popups_ < count && msSince(start) < timeoutMs) {
            if (waitForEvent(timeoutMs - msSince(start))) {
                XEvent event;
                XNextEvent(display_, &event);
                handle(event);
            }
        }
        return popups_ >= count;
    }

    void watchDamage(Window window) {
        if (damage_ != 0)
            XDamageDestroy(display_, damage_);
        damage_ = XDamageCreate(display_, window, XDamageReportRawRectangles);
        damaged_ = window;
        XSync(display_, False);
    }

    // Reads every pending event; returns the time the first damage arrived, if any did
    // within the timeout.
    std::optional<Clock::time_point> waitForDamage(double timeoutMs) {
        const auto start = Clock::now();
        while (msSince(start) < timeoutMs) {
            if (!waitForEvent(timeoutMs - msSince(start)))
                continue;
            XEvent event;
            XNextEvent(display_, &event);
            const auto now = Clock::now();
            if (event.type == damageEvent_ + XDamageNotify)
                return now;
            handle(event);
        }
        return std::nullopt;
    }

    // Waits until the window has not been drawn for `quietMs`; returns the last drawing's
    // time (or nothing when there was none), giving up after `timeoutMs`.
    std::optional<Clock::time_point> waitForQuiet(double quietMs, double timeoutMs) {
        std::optional<Clock::time_point> last;
        const auto start = Clock::now();
        while (msSince(start) < timeoutMs) {
            const auto damage = waitForDamage(quietMs);
            if (!damage)
                break;
            last = damage;
        }
        return last;
    }

    void key(const char* name, bool press) {
        const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(name));
        XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
        XFlush(display_);
    }

    void tap(const char* name) {
        key(name, true);
        key(name, false);
    }

    void click(Window window, int x, int y) {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, root_, x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

    void focus(Window window) {
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XSync(display_, False);
    }

    int popups() const { return popups_; }

private:
    bool waitForEvent(double timeoutMs) {
        if (XPending(display_) > 0)
            return true;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, std::max(0, int(timeoutMs + 0.999)));
        return XPending(display_) > 0;
    }

    // Keeps count of the override-redirect windows (menus) that are up.
    bool handle(const XEvent& event) {
        if (event.type == MapNotify && event.xmap.override_redirect) {
            ++popups_;
            overrides_[event.xmap.window] = true;
        } else if (event.type == UnmapNotify && overrides_.count(event.xunmap.window) != 0) {
            --popups_;
            overrides_.erase(event.xunmap.window);
        }
        return true;
    }

    ::Display* display_ = nullptr;
    Window root_ = 0;
    int damageEvent_ = 0;
    Damage damage_ = 0;
    Window damaged_ = 0;
    int popups_ = 0;
    std::map<Window, bool> overrides_;
};

std::string firstExerciseLine() {
    std::ifstream file("cz01.dat", std::ios::binary);
    std::string line;
    std::getline(file, line); // the lesson's heading
    std::getline(file, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

void printMemory(const char* name, const Memory& memory) {
    std::printf(", \"rss_kb_%s\": %ld, \"pss_kb_%s\": %ld, \"hwm_kb_%s\": %ld", name, memory.rss,
                name, memory.pss, name, memory.hwm);
}

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main(int argc, char* argv[]) {
    std::string kind = "program";
    bool enter = false, lesson = false, exam = false;
    int keystrokes = 0, idleSeconds = 0;
    std::string smaps;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string argument = argv[first];
        const auto next = [&] { return first + 1 < argc ? std::string(argv[++first]) : ""; };
        if (argument == "--kind")
            kind = next();
        else if (argument == "--enter")
            enter = true;
        else if (argument == "--lesson")
            lesson = true;
        else if (argument == "--exam")
            exam = true;
        else if (argument == "--keys")
            keystrokes = std::atoi(next().c_str());
        else if (argument == "--idle")
            idleSeconds = std::atoi(next().c_str());
        else if (argument == "--smaps")
            smaps = next();
        else if (argument == "--") {
            ++first;
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: bench_desktop [options] -- program [arguments]\n");
        return 2;
    }
    XSession x;
    if (!x.open()) {
        std::fprintf(stderr, "no X display with the DAMAGE and XTEST extensions\n");
        return 2;
    }

    std::printf("{\"kind\": \"%s\"", kind.c_str());
    const auto fail = [&](const char* why, pid_t pid) {
        std::printf(", \"error\": \"%s\"}\n", why);
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        return 1;
    };

    const auto started = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[first], nullptr, nullptr, argv + first, environ) != 0)
        return fail("cannot start the program", 0);
    const auto firstWindow = x.waitForMap(60000);
    if (!firstWindow)
        return fail("no window mapped", pid);
    std::printf(", \"first_window_ms\": %.2f", msSince(started));
    x.watchDamage(*firstWindow);
    x.waitForQuiet(300, 10000);
    Window main = *firstWindow;

    if (enter) {
        x.focus(*firstWindow);
        sleepMs(100);
        const auto pressed = Clock::now();
        x.tap("Return");
        const auto mainWindow = x.waitForMap(60000, *firstWindow);
        if (!mainWindow)
            return fail("no main window after Enter", pid);
        std::printf(", \"main_window_ms\": %.2f", msSince(pressed));
        main = *mainWindow;
        x.watchDamage(main);
        x.waitForQuiet(300, 10000);
    }
    x.focus(main);
    sleepMs(500);
    printMemory("main", memoryOf(pid));
    if (!smaps.empty()) {
        std::ifstream in("/proc/" + std::to_string(pid) + "/smaps");
        std::ofstream(smaps) << in.rdbuf();
    }

    const auto idle = [&](const char* name) {
        const char* also = std::getenv("BENCH_ALSO_PID");
        const pid_t other = also != nullptr ? pid_t(std::atoi(also)) : 0;
        const Cpu before = cpuOf(pid), otherBefore = cpuOf(other);
        sleepMs(idleSeconds * 1000);
        const Cpu after = cpuOf(pid), otherAfter = cpuOf(other);
        std::printf(", \"idle_%s_cpu_s_per_10s\": %.4f, \"idle_%s_wakeups_per_s\": %.1f", name,
                    (after.seconds - before.seconds) * 10 / idleSeconds, name,
                    double(wakeupsBetween(before, after)) / idleSeconds);
        // The window's own thread apart from the sound stream's and the toolkit's helpers.
        std::printf(", \"idle_%s_main_thread_cpu_s_per_10s\": %.4f", name,
                    (after.mainThreadSeconds - before.mainThreadSeconds) * 10 / idleSeconds);
        if (other > 0)
            std::printf(", \"idle_%s_sound_server_cpu_s_per_10s\": %.4f", name,
                        (otherAfter.seconds - otherBefore.seconds) * 10 / idleSeconds);
    };
    if (idleSeconds > 0)
        idle("main");

    if (lesson) {
        // The first menu, then Down and Right open the submenu of lesson 1 where there is one.
        const int before = x.popups();
        x.click(main, 25, 10);
        if (!x.waitForPopups(before + 1, 10000))
            return fail("the menu did not open", pid);
        x.tap("Down");
        x.tap("Right");
        x.waitForPopups(before + 2, 2000);
        sleepMs(200);
        x.waitForQuiet(50, 2000);
        const auto chosen = Clock::now();
        x.tap("Return");
        const auto firstDamage = x.waitForDamage(5000);
        const auto settled = x.waitForQuiet(200, 10000);
        if (!firstDamage)
            return fail("nothing drawn after the menu choice", pid);
        std::printf(", \"lesson_first_damage_ms\": %.2f, \"lesson_settled_ms\": %.2f",
                    msSince(chosen, *firstDamage), msSince(chosen, settled.value_or(*firstDamage)));
        x.focus(main);
        sleepMs(500);
        printMemory("lesson", memoryOf(pid));
    }

    if (exam) {
        // Where "Zkouška" stands in the menu bar with the fonts of Debian's Xvfb; a menu bar
        // entry without a menu of its own does not answer Enter after the arrows.
        x.click(main, 344, 10);
        const auto dialog = x.waitForMap(10000, main);
        if (!dialog)
            return fail("no exam dialog", pid);
        x.waitForQuiet(200, 5000);
        x.tap("Return");
        const auto window = x.waitForMap(10000, *dialog);
        if (!window)
            return fail("no exam window", pid);
        x.watchDamage(*window);
        x.waitForQuiet(300, 10000);
        printMemory("exam", memoryOf(pid));
    }

    if (keystrokes > 0) {
        const std::string line = firstExerciseLine();
        if (line.empty())
            return fail("no cz01.dat exercise line", pid);
        std::vector<double> latencies;
        int missed = 0;
        for (int i = 0, column = 0; i < keystrokes; ++i) {
            std::string name = "Return";
            if (column < int(line.size()))
                name = line[std::size_t(column)] == ' ' ? "space"
                                                        : std::string(1, line[std::size_t(column)]);
            if (i % 9 == 4 && column < int(line.size()))
                name = "q"; // a wrong key: counted as an error, the line comes again
            else
                column = column < int(line.size()) ? column + 1 : 0;
            x.waitForQuiet(2, 100);
            const auto sent = Clock::now();
            x.key(name.c_str(), true);
            const auto drawn = x.waitForDamage(500);
            if (drawn)
                latencies.push_back(msSince(sent, *drawn));
            else
                ++missed;
            x.waitForQuiet(2, 100);
            x.key(name.c_str(), false);
            x.waitForDamage(100);
        }
        std::printf(", \"keys\": %d, \"keys_not_drawn\": %d, \"key_to_screen_ms_median\": %.3f, "
                    "\"key_to_screen_ms_p99\": %.3f, \"key_to_screen_ms_max\": %.3f",
                    keystrokes, missed, percentile(latencies, 0.5), percentile(latencies, 0.99),
                    percentile(latencies, 1.0));
        sleepMs(500);
        printMemory("typed", memoryOf(pid));
    }

    if (idleSeconds > 0 && lesson) {
        // The metronome's loudspeaker picture, under the menu bar.
        x.click(main, 28, 432);
        sleepMs(300);
        idle("metronome");
        x.click(main, 28, 432);
        sleepMs(300);
        // A lesson under way, paused.
        const std::string line = firstExerciseLine();
        for (std::size_t i = 0; i < 3 && i < line.size(); ++i)
            x.tap(line[i] == ' ' ? "space" : std::string(1, line[i]).c_str());
        sleepMs(200);
        x.tap("Pause");
        sleepMs(300);
        idle("paused");
    }

    const bool alive = waitpid(pid, nullptr, WNOHANG) == 0;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        sleepMs(100);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::printf(", \"alive_at_end\": %s}\n", alive ? "true" : "false");
    return alive ? 0 : 1;
}
