#include "sound/sound_rig.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <limits>

#ifndef TIPORA_EXECUTABLE
#error "TIPORA_EXECUTABLE must name the program under test"
#endif
#ifndef TIPORA_DATA_DIR
#error "TIPORA_DATA_DIR must name the bundled course"
#endif

namespace tipora::sound {

namespace {

qint64 steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool startAndWait(QProcess& process, const QString& program, const QStringList& arguments) {
    process.start(program, arguments);
    return process.waitForStarted(30000);
}

// Every wait here is generous: under the sanitizers the program starts several times slower.
constexpr int windowTimeoutMs = 60000;

} // namespace

SoundRig::SoundRig() {
    environment_ = QProcessEnvironment::systemEnvironment();
}

SoundRig::~SoundRig() {
    stop(program_);
    stop(recorder_);
    stop(xvfb_);
    stop(pulse_);
}

void SoundRig::stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool SoundRig::fail(const QString& what) {
    error_ = what;
    return false;
}

SoundRig::Start SoundRig::start(QString* why) {
    for (const char* tool : {"pulseaudio", "parec", "pactl", "Xvfb", "setxkbmap", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *why = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return Start::Missing;
        }
    }
    if (!dir_.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return Start::Failed;
    }

    // The sound server keeps its socket, cookie and state in folders of its own, so it meets
    // neither the desktop's server nor another run's.
    const QString runtime = dir_.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString socket = runtime + QStringLiteral("/native");
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment_.insert(QStringLiteral("HOME"), runtime);
    environment_.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
    environment_.remove(QStringLiteral("PULSE_SINK"));
    environment_.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    pulse_.setProcessEnvironment(environment_);
    pulse_.setStandardOutputFile(dir_.filePath(QStringLiteral("pulseaudio.log")));
    pulse_.setStandardErrorFile(dir_.filePath(QStringLiteral("pulseaudio.log")));
    // Without rewinds: with them, the monitor loses the start of every new stream. Real-time
    // scheduling where allowed, as a desktop's sound server has it: on a busy machine an
    // ordinary one falls behind and the recording slips.
    if (!startAndWait(
            pulse_, QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--system=false"),
             QStringLiteral("--use-pid-file=no"), QStringLiteral("--realtime=true"),
             QStringLiteral("--high-priority=true"), QStringLiteral("-L"),
             QStringLiteral("module-null-sink sink_name=tipora_test rate=%1 "
                            "norewinds=1")
                 .arg(sampleRate),
             QStringLiteral("-L"),
             QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket})) {
        *why = QStringLiteral("pulseaudio did not start");
        return Start::Failed;
    }
    bool ready = false;
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired() && !ready;) {
        if (pulse_.state() == QProcess::NotRunning)
            break;
        QProcess info;
        info.setProcessEnvironment(environment_);
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        ready = info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit &&
                info.exitCode() == 0;
        if (!ready)
            QThread::msleep(100);
    }
    if (!ready) {
        QFile log(dir_.filePath(QStringLiteral("pulseaudio.log")));
        log.open(QIODevice::ReadOnly);
        *why =
            QStringLiteral("pulseaudio did not come up: ") + QString::fromLocal8Bit(log.readAll());
        return Start::Failed;
    }

    // -noreset: without it the server resets when its last client leaves, and the layout
    // with it.
    const QString displayFile = dir_.filePath(QStringLiteral("display"));
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    xvfb_.setStandardOutputFile(displayFile);
    if (!startAndWait(xvfb_, QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                       QStringLiteral("-noreset")})) {
        *why = QStringLiteral("Xvfb did not start");
        return Start::Failed;
    }
    QString display;
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired() && display.isEmpty();) {
        QFile file(displayFile);
        if (file.open(QIODevice::ReadOnly))
            display = QString::fromLatin1(file.readAll()).trimmed();
        if (display.isEmpty())
            QThread::msleep(50);
    }
    if (display.isEmpty()) {
        *why = QStringLiteral("Xvfb gave no display");
        return Start::Failed;
    }
    environment_.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + display);
    QProcess layout;
    layout.setProcessEnvironment(environment_);
    layout.start(QStringLiteral("setxkbmap"), {QStringLiteral("cz")});
    if (!layout.waitForFinished(20000) || layout.exitCode() != 0) {
        *why = QStringLiteral("setxkbmap cz failed");
        return Start::Failed;
    }
    return Start::Ok;
}

bool SoundRig::xdotool(const QStringList& arguments, QByteArray* output, int timeoutMs) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return fail(QStringLiteral("xdotool %1 timed out").arg(arguments.join(u' ')));
    }
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    error_ = QStringLiteral("xdotool %1: %2")
                 .arg(arguments.join(u' '), QString::fromLocal8Bit(process.readAllStandardError()));
    return false;
}

QStringList SoundRig::visibleWindows() {
    QByteArray output;
    xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
             QStringLiteral("tipora")},
            &output, 10000);
    return QString::fromLatin1(output).split(u'\n', Qt::SkipEmptyParts);
}

bool SoundRig::launch(const QByteArray& ini, const QStringList& environment) {
    const QString course = dir_.filePath(QStringLiteral("course"));
    QDir(course).removeRecursively();
    QDir().mkpath(course);
    const QDir data(QStringLiteral(TIPORA_DATA_DIR));
    for (const QString& name : data.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
        if (!QFile::copy(data.filePath(name), course + u'/' + name))
            return fail(QStringLiteral("cannot copy %1").arg(name));
    }
    QFile settings(course + QStringLiteral("/tipora.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write(ini) != ini.size())
        return fail(QStringLiteral("cannot write tipora.ini"));
    settings.close();

    // Recording first, so the program's very first click is on it.
    const QString raw = dir_.filePath(QStringLiteral("recording.raw"));
    QFile::remove(raw);
    recorder_.setProcessEnvironment(environment_);
    recorder_.setStandardOutputFile(raw);
    recorder_.setStandardErrorFile(dir_.filePath(QStringLiteral("parec.log")));
    if (!startAndWait(recorder_, QStringLiteral("parec"),
                      {QStringLiteral("-d"), QStringLiteral("tipora_test.monitor"),
                       QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=%1").arg(sampleRate), QStringLiteral("--channels=1"),
                       QStringLiteral("--latency-msec=5")}))
        return fail(QStringLiteral("parec did not start"));
    recordingStart_ = std::numeric_limits<qint64>::max();
    recordingEnd_ = std::numeric_limits<qint64>::max();
    watchedSize_ = 0;
    watchRecording(1500, &recordingStart_);
    const qint64 lastSize = watchedSize_;
    if (lastSize == 0)
        return fail(QStringLiteral("the recording stays empty"));

    QProcessEnvironment programEnvironment = environment_;
    programEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    programEnvironment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& entry : environment) {
        const auto equals = entry.indexOf(u'=');
        programEnvironment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    program_.setProcessEnvironment(programEnvironment);
    program_.setWorkingDirectory(course);
    program_.setStandardOutputFile(dir_.filePath(QStringLiteral("tipora.log")));
    program_.setStandardErrorFile(dir_.filePath(QStringLiteral("tipora.log")));
    if (!startAndWait(program_, QStringLiteral(TIPORA_EXECUTABLE), {}))
        return fail(QStringLiteral("the program did not start"));

    // The keyboard-type dialog: Enter takes the selected type.
    QByteArray found;
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                  QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QStringLiteral("^Tipora")},
                 &found, windowTimeoutMs))
        return fail(QStringLiteral("the keyboard-type dialog did not show"));
    const QString dialog = QString::fromLatin1(found).section(u'\n', 0, 0);
    if (!xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog,
                  QStringLiteral("key"), QStringLiteral("Return")}))
        return fail(QStringLiteral("could not answer the keyboard-type dialog"));

    // The main window has the dialog's title, the menus have another, and a window seen while
    // the dialog goes away may be gone the next moment.
    mainWindow_.clear();
    for (QDeadlineTimer deadline(windowTimeoutMs);
         !deadline.hasExpired() && mainWindow_.isEmpty();) {
        QByteArray titled;
        xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--name"), QStringLiteral("^Tipora 1[.]5$")},
                &titled, 10000);
        for (const QString& window : QString::fromLatin1(titled).split(u'\n', Qt::SkipEmptyParts)) {
            if (window != dialog && xdotool({QStringLiteral("getwindowgeometry"), window}))
                mainWindow_ = window;
        }
        if (mainWindow_.isEmpty())
            QThread::msleep(100);
    }
    if (mainWindow_.isEmpty())
        return fail(QStringLiteral("the main window did not show"));

    // Lesson 1 through the menu, as a learner picks it: "Lekce", the first row, its first lesson.
    // Each step waits for its popup to show before the key that acts on it.
    const auto popups = [this] { return visibleWindows().size(); };
    const qsizetype before = popups();
    if (!xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), mainWindow_,
                  QStringLiteral("25"), QStringLiteral("10"), QStringLiteral("click"),
                  QStringLiteral("1")}))
        return fail(QStringLiteral("could not click the menu"));
    const auto waitForPopups = [&](qsizetype count) {
        for (QDeadlineTimer deadline(windowTimeoutMs); !deadline.hasExpired();) {
            if (popups() >= count)
                return true;
            QThread::msleep(50);
        }
        return false;
    };
    if (!waitForPopups(before + 1))
        return fail(QStringLiteral("the Lekce menu did not open"));
    if (!xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Right")}) ||
        !waitForPopups(before + 2))
        return fail(QStringLiteral("the lesson submenu did not open"));
    QThread::msleep(200);
    if (!xdotool({QStringLiteral("key"), QStringLiteral("Return")}))
        return fail(QStringLiteral("could not choose lesson 1"));
    for (QDeadlineTimer deadline(windowTimeoutMs); popups() > before;) {
        if (deadline.hasExpired())
            return fail(QStringLiteral("the menu did not close"));
        QThread::msleep(50);
    }
    if (!xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), mainWindow_}))
        return fail(QStringLiteral("could not focus the main window"));
    // The lesson's first line is loaded and the keys go to the input line from here on; a
    // sanitizer build needs the extra time.
    QThread::msleep(1000);
    return true;
}

void SoundRig::watchRecording(int milliseconds, qint64* start) {
    // The sink never sleeps, so the recording grows steadily. Each write holds samples taken up
    // to that moment: the earliest "now minus what was written" tells when the first was taken.
    const QString raw = dir_.filePath(QStringLiteral("recording.raw"));
    for (QDeadlineTimer deadline(milliseconds); !deadline.hasExpired();) {
        const qint64 size = QFileInfo(raw).size();
        if (size != watchedSize_) {
            watchedSize_ = size;
            *start = std::min(*start, steadyNanoseconds() - size / 2 * 1'000'000'000 / sampleRate);
        }
        QThread::usleep(500);
    }
}

void SoundRig::wait(int milliseconds) {
    // The last second tells again when the recording started; less samples than the time
    // would hold means some were lost on the way.
    constexpr int lastMs = 1000;
    QThread::msleep(std::max(0, milliseconds - lastMs));
    recordingEnd_ = std::numeric_limits<qint64>::max();
    watchRecording(std::min(milliseconds, lastMs), &recordingEnd_);
}

bool SoundRig::clickMetronome() {
    // The picture is at 16,400 px of the window's surface, under a menu bar of about 21 px.
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), mainWindow_,
                    QStringLiteral("28"), QStringLiteral("432"), QStringLiteral("click"),
                    QStringLiteral("1")});
}

bool SoundRig::type(const QString& text, int delayMs) {
    // xdotool spends its delay half after pressing a key and half after releasing it.
    return xdotool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QString::number(2 * delayMs), text});
}

bool SoundRig::keys(const QStringList& names, int delayMs) {
    return xdotool(
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs)} +
        names);
}

bool SoundRig::finish() {
    QThread::msleep(1000);
    const bool programAlive = program_.state() == QProcess::Running;
    stop(program_);
    QThread::msleep(200);
    stop(recorder_);
    return programAlive || fail(QStringLiteral("the program ended early"));
}

std::vector<qint16> SoundRig::recording() const {
    QFile file(dir_.filePath(QStringLiteral("recording.raw")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<qint16> samples(std::size_t(bytes.size() / 2));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = qint16(quint16(quint8(bytes[qsizetype(2 * i)])) |
                            quint16(quint8(bytes[qsizetype(2 * i + 1)])) << 8);
    }
    return samples;
}

} // namespace tipora::sound
