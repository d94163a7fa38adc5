#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace tipora::sound {

// The real program, run as a learner runs it, with what reaches its sound card recorded: a
// private sound server whose only output is a silent sink, the sink's monitor recorded, a
// private X server with the Czech layout, and the program in a temporary course folder, driven
// through XTEST. Shared by the recording test and the beat benchmark.
class SoundRig {
public:
    static constexpr int sampleRate = 44100;

    enum class Start { Ok, Missing, Failed };

    SoundRig();
    ~SoundRig();
    SoundRig(const SoundRig&) = delete;
    SoundRig& operator=(const SoundRig&) = delete;

    // Starts both servers. Missing: a tool is not installed; Failed: it is, but did not start.
    Start start(QString* why);

    // Starts recording, then the program with the given settings file line (bundled course),
    // takes the keyboard type with Enter and opens lesson 1. Extra environment entries go to
    // the program only.
    bool launch(const QByteArray& ini, const QStringList& environment = {});
    // The loudspeaker picture, which switches the metronome on and off.
    bool clickMetronome();
    // Types text or presses keys (xdotool key names) with `delayMs` between them.
    bool type(const QString& text, int delayMs);
    bool keys(const QStringList& names, int delayMs);
    // Lets the last clicks play out, ends the program and the recording.
    bool finish();

    std::vector<qint16> recording() const;
    // Nanoseconds of the steady clock at which the recording's first sample was taken, as
    // near as the recorder's writes tell (for latency measurements).
    qint64 recordingStart() const { return recordingStart_; }
    // Waits, and near the end checks the recording's pace again: recordingSlip() then tells how
    // many nanoseconds later (negative: earlier) than the start and the sample rate say its
    // last samples were taken, so sample i was taken at start + i / rate + slip * i / count.
    void wait(int milliseconds);
    qint64 recordingSlip() const { return recordingEnd_ - recordingStart_; }
    QString error() const { return error_; }
    QString workPath(const QString& name) const { return dir_.filePath(name); }
    // Leaves the recording, the logs and the course folder behind for a look afterwards.
    void keepFiles() { dir_.setAutoRemove(false); }

private:
    bool xdotool(const QStringList& arguments, QByteArray* output = nullptr, int timeoutMs = 60000);
    QStringList visibleWindows();
    bool fail(const QString& what);
    void stop(QProcess& process);

    QTemporaryDir dir_;
    QProcessEnvironment environment_;
    QProcess pulse_;
    QProcess xvfb_;
    QProcess recorder_;
    QProcess program_;
    QString mainWindow_;
    QString error_;
    void watchRecording(int milliseconds, qint64* start);

    qint64 recordingStart_ = 0;
    qint64 recordingEnd_ = 0;
    qint64 watchedSize_ = 0;
};

} // namespace tipora::sound
