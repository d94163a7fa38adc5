#pragma once

#include <QLocale>
#include <QSize>
#include <QString>
#include <QTime>
#include <cstdint>

namespace tipora {

class FrmDemo;
class FrmNastaveni;
class FrmOProgramu;
class ExamSession;
struct ExamChoice;
struct ExamSheet;

enum class MessageButtons { Ok, YesNo };

// Values as the answers of a message box are numbered by the program (6 = Yes, 7 = No).
enum class MessageResult { Ok = 1, Yes = 6, No = 7 };

// What the sound card may be asked for soon, so that a stream is playing before a beep is due
// and none is kept running while nothing can sound.
struct SoundPlan {
    bool beepsSoon = false;         // a key, error or demonstration beep can come at any moment
    int beatMilliseconds = 0;       // the metronome's beat while it runs, 0 while it does not
    std::uint64_t beatRestarts = 0; // changes whenever the beat starts afresh
    bool operator==(const SoundPlan&) const = default;
};

// Everything the handlers need from the desktop. The program passes the Qt implementation,
// tests a scripted fake, so no handler ever needs a display or the wall clock.
class Platform {
public:
    virtual ~Platform() = default;

    virtual void beep() = 0;
    // A tick of the metronome's timer. A platform that keeps the beat itself, placed to the
    // sample, need not sound anything here; one that cannot beeps.
    virtual void metronomeBeat() { beep(); }
    // Modal: returns when the user has answered; timers keep firing meanwhile.
    virtual MessageResult messageBox(const QString& text, const QString& title,
                                     MessageButtons buttons) = 0;
    // Shows the loaded demonstration-speed dialog until its Start closes it.
    virtual void showDemoDialog(FrmDemo& dialog) = 0;
    // Shows the loaded settings dialog until OK or Zruš closes it.
    virtual void showSettingsDialog(FrmNastaveni& dialog) = 0;
    // Shows the loaded about box until a click or a key closes it.
    virtual void showAboutBox(FrmOProgramu& dialog) = 0;
    // How the results window was left.
    enum class ResultsChoice { Closed, WeakKeyDrill };
    // Shows the results window, its keyboard in the learner's arrangement, until it is closed.
    virtual ResultsChoice showResultsWindow(int keyboardType) = 0;
    // The exam dialog: true when the learner chose "Začít".
    virtual bool chooseExam(ExamChoice& choice) = 0;
    // The copy test itself, until its time is up or the learner stops it.
    virtual void runExam(ExamSession& exam) = 0;
    // The scored test, with its result sheet to save or print.
    virtual void showExamResult(const ExamSheet& sheet) = 0;
    // Asks for a text file of the learner's own; empty when they cancel.
    virtual QString chooseTextFile() = 0;
    virtual QTime currentTime() const = 0;
    // Milliseconds on a clock that only goes forwards, from an arbitrary start: the time between
    // keystrokes, which must not jump with the time of day.
    virtual qint64 elapsedMilliseconds() const = 0;
    virtual QLocale locale() const = 0;
    // The available screen area, in twips.
    virtual QSize screenSizeTwips() const = 0;
    // Ends the program at once, with exit status 0.
    virtual void quit() = 0;
};

} // namespace tipora
