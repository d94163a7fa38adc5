#pragma once

#include "app/file_locations.h"
#include "app/frm_tipora_form.h"
#include "app/platform.h"
#include "app/promenne.h"
#include "app/results_recording.h"
#include "demo/demonstration.h"
#include "keyboard/key_lighting.h"
#include "lessons/practice_session.h"

#include <QDir>

namespace tipora {

// The main window's behaviour. Its form model is what the UI shows; the practice session, the
// key lighting and the demonstration own the state behind it. Each handler turns its event into
// calls on those owners, and one step after every handler (and before every modal box) brings
// the menus, the timers and the figures on the labels up to date with them. The handlers are
// grouped below by the file that defines them.
class FrmTipora {
public:
    // window/frm_tipora.cpp: loading, closing, the clock, the statistics labels, the one step.
    FrmTipora(Promenne& shared, Platform& platform, FileLocations files);
    // Course and settings in one folder.
    FrmTipora(Promenne& shared, Platform& platform, const QDir& folder = QDir::current());
    FrmTipora(const FrmTipora&) = delete;
    FrmTipora& operator=(const FrmTipora&) = delete;

    FrmTiporaForm form;

    // Runs once, after the keyboard-type dialog and before the window is shown.
    void Form_Load();
    // The close box.
    void Form_Unload();
    void mnuExit_Click();
    void tmrTime_Timer();
    // Clears the statistics and shows the cleared values.
    void MazaniPromennych();
    void mnuVysledky_Click();
    // The handlers of the timers, the controls and the menu, for the UI to call.
    TimerHandlers timerHandlers();
    ControlHandlers clickHandlers();
    ControlHandlers mouseMoveHandlers();
    MenuHandlers menuHandlers();

    // A file of the course by its bare name, in the course folder.
    QString dataPath(const QString& fileName) const;
    // Where the course and the settings file were found.
    const FileLocations& files() const { return files_; }
    // The results history: told of every lesson and every key; its window opens between lessons.
    void setResultsRecording(ResultsRecording* recording) {
        session_.setListener(recording);
        recording_ = recording;
    }
    // Where a drill of the learner's weak keys finds their record.
    void setPracticeHistory(PracticeHistory* history) { history_ = history; }
    // The class and the student, for the about box; empty without a class.
    void setClassroomLine(const QString& line) { classroomLine_ = line; }

    // The owners of the state, for whoever needs to look.
    const PracticeSession& session() const { return session_; }
    const KeyLighting& keyLighting() const { return lighting_; }
    const Demonstration& demonstration() const { return demo_; }

    // window/lesson_handlers.cpp: choosing a lesson, typing, the lines, the clock, pause, stop.
    // mnuLekce01_Click … mnuLekce50_Click all start their lesson this way.
    void mnuLekce_Click(int lesson);
    // A lesson made of the learner's weak keys, from the course's words and their history.
    void mnuSlabeKlavesy_Click();
    // Any text file of the learner's, typed as a lesson.
    void mnuVlastniText_Click();
    // One typed character as its Windows-1250 code (8 Backspace, 9 Tab, 13 Enter, 27 Esc; -1 for
    // a character the code page lacks).
    void Form_KeyPress(int KeyAscii);
    void imgDalsi_Click();
    void tmrText_Timer();
    void tmrTimeP_Timer();
    void mnuPause_Click();
    void lblPause_Click();
    void mnuStop_Click();

    // window/keyboard_handlers.cpp: the on-screen keyboard under the learner's hands; k is the
    // key code of the key table.
    void Form_KeyDown(int k);
    void Form_KeyUp(int k);

    // window/demo_handlers.cpp: the tutor types the lesson; the metronome.
    void mnuDemo_Click();
    void tmrDemo_Timer();
    void tmrDemoClick_Timer();
    void imgMetronom_Click();
    void tmrMetronom_Timer();
    // What may sound soon: beeps while the practice runs with a beep switched on, the beat while
    // the metronome's timer runs. Asked after every handler.
    SoundPlan soundPlan() const;

    // window/dialog_handlers.cpp: the preview panel, the hover hints, the settings dialog and
    // the about box.
    void imgVysunNahled_Click();
    void imgZasunNahled_Click();
    void Form_MouseMove();
    void imgVysunNahled_MouseMove();
    void imgZasunNahled_MouseMove();
    void imgMetronom_MouseMove();
    void imgDalsi_MouseMove();
    void lblKlavesa_MouseMove();
    void txtVstup_MouseMove();
    // lblNapoveda001_MouseMove … lblNapoveda004_MouseMove: each hides its own hint.
    void lblNapoveda_MouseMove(Control& hint);
    void mnuNastaveni_Click();
    void mnuOProgramu_Click();

    // window/exam_handlers.cpp: the timed copy test, scored, kept and shown with its sheet.
    void mnuZkouska_Click();

private:
    // Every handler opens one; the step runs as each closes, so also after a handler that
    // another one called.
    class Step {
    public:
        explicit Step(FrmTipora& window) : window_(window) {}
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;
        ~Step() { window_.sync(); }

    private:
        FrmTipora& window_;
    };

    // The one step: menus and timers from the phase, the figures, the input line and cursor.
    void sync();
    void showFigures();
    // A message box, with the window brought up to date first.
    MessageResult ask(const QString& text, MessageButtons buttons);
    void readSettingsFile();

    // window/lesson_handlers.cpp
    void NactiDalsiRadek();
    // Shows a line the session brought, or ends the lesson when it was the end.
    void showLine(const SourceLine& line);
    void stopLesson(bool linesRanOut);
    // What every lesson's start does before its lines come: the practice begins, the keyboard
    // is cleared for the lesson's marking.
    void beginLesson(const LessonId& lesson, const QString& caption);
    // A lesson that is not the course's: its keys green, those it drills red, its lines typed
    // to the last.
    // A text file of the learner's, or nothing after a message saying why it cannot be read.
    std::optional<QString> readLearnersFile(const QString& path);
    void startText(const LessonId& lesson, const QStringList& lines, const std::vector<int>& green,
                   const std::vector<int>& red, const QString& description);
    void afterKey(const PracticeSession::Typed& typed);
    void beepForKey();
    void resetEnterMark();

    // window/keyboard_handlers.cpp
    KeyLighting::Options keyOptions() const;

    struct Shown {
        int errors = -1;
        float errorsPerLine = -1.0F;
        int lines = -1;
        int keystrokes = -1;
        int keystrokesPerMinute = -1;
        int seconds = -1;
        bool operator==(const Shown&) const = default;
    };

    // What the input line was last drawn from.
    struct ShownInput {
        bool previewOut = false;
        qsizetype transcriptLength = 0;
        QString typed;
        bool operator==(const ShownInput&) const = default;
    };

    Promenne& shared_;
    Platform& platform_;
    FileLocations files_;
    PracticeHistory* history_ = nullptr;
    QString classroomLine_;
    ResultsRecording* recording_ = nullptr;
    PracticeSession session_;
    KeyLighting lighting_;
    Demonstration demo_;
    Shown shown_;
    ShownInput shownInput_;
    std::uint64_t messageStartsApplied_ = 0;
    std::uint64_t metronomeStartsApplied_ = 0;
    std::uint64_t flashesApplied_ = 0;
};

} // namespace tipora
