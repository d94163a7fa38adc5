#pragma once

#include "app/file_locations.h"
#include "app/frm_tipora_form.h"
#include "app/platform.h"
#include "app/practice_state.h"
#include "app/promenne.h"
#include "app/results_recording.h"
#include "ground/lesson_file.h"

#include <QDir>

namespace tipora {

// The main window's behaviour: its handlers change the form model and the practice state; the
// UI layer only shows the model and turns events into handler calls. The handlers are defined in
// the folder of their subsystem; below, each group names the file that defines it.
class FrmTipora {
public:
    // app/frm_tipora.cpp: loading, closing, the clock and the statistics labels.
    FrmTipora(Promenne& shared, Platform& platform, FileLocations files);
    // Course and settings in one folder.
    FrmTipora(Promenne& shared, Platform& platform, const QDir& folder = QDir::current());

    FrmTiporaForm form;
    PracticeState state;

    // Runs once, after the keyboard-type dialog and before the window is shown.
    void Form_Load();
    // The close box.
    void Form_Unload();
    void mnuExit_Click();
    void tmrTime_Timer();
    // Clears the statistics and shows the cleared values.
    void MazaniPromennych();
    // The handlers of the timers, the controls and the menu, for the UI to call.
    TimerHandlers timerHandlers();
    ControlHandlers clickHandlers();
    ControlHandlers mouseMoveHandlers();
    MenuHandlers menuHandlers();
    // A file of the course by its bare name, in the course folder.
    QString dataPath(const QString& fileName) const;
    // Where the course and the settings file were found.
    const FileLocations& files() const { return files_; }
    // The results history: told of every lesson; its window opens between lessons.
    void setResultsRecording(ResultsRecording* recording) { results_ = recording; }
    void mnuVysledky_Click();

private:
    void closeAllFiles();
    void showStatistics();
    void readSettingsFile();
    // The lesson's running counters, from which the history takes each lesson's own share.
    PracticeCounters counters() const;

public:
    // lessons/lesson_start.cpp: choosing a lesson and reading its two files.
    // mnuLekce01_Click … mnuLekce50_Click all start their lesson this way.
    void mnuLekce_Click(int lesson);

private:
    void SetLekce();
    // Each says why the lesson cannot start, or Problem::None.
    LessonFile::Problem readDescription(int lesson);
    LessonFile::Problem openExercise(int lesson);
    // An exercise line to the exercise row; a message line for three seconds, paused.
    void showLine();

public:
    // lessons/typing_check.cpp: checking what is typed against the exercise line.
    // One typed character as its Windows-1250 code (8 Backspace, 9 Tab, 13 Enter, 27 Esc; -1 for
    // a character the code page lacks).
    void Form_KeyPress(int KeyAscii);

private:
    // The keystroke beep, when the settings ask for it.
    void beepForKey();
    void countError();
    void closeLine();
    void recomputeKeystrokesPerMinute();
    void resetLinePosition();

public:
    // lessons/line_feeder.cpp: bringing the lesson's lines one at a time.
    void NactiDalsiRadek();
    void imgDalsi_Click();
    void tmrText_Timer();

private:
    // The lesson's lines ran out: the Stop that follows finishes it.
    void endOfLines();

public:
    // lessons/lesson_clock.cpp: the lesson clock, pausing and the end of a lesson.
    void tmrTimeP_Timer();
    void mnuPause_Click();
    void lblPause_Click();
    void mnuStop_Click();

    // keyboard/key_feedback.cpp: the on-screen keyboard under the learner's hands; k is the key
    // code of the key table.
    void Form_KeyDown(int k);
    void Form_KeyUp(int k);
    // Lights a key, remembering its colour; false when the key has no label.
    bool RozsviceniKlavesy(int code);
    void ZhasnutiKlavesy();
    // Before the whole keyboard is recoloured: a key held meanwhile would otherwise get the
    // colour of the keyboard before on its release.
    void putOutLitKeys();

    // demo/demo_playback.cpp: the tutor types the lesson by itself.
    void mnuDemo_Click();
    void tmrDemo_Timer();
    void tmrDemoClick_Timer();

    // demo/metronome.cpp: a beep per keystroke of the chosen tempo.
    void imgMetronom_Click();
    void tmrMetronom_Timer();
    // What may sound soon: beeps while the practice runs with a beep switched on, the beat while
    // the metronome's timer runs. Asked after every handler.
    SoundPlan soundPlan() const;

private:
    // Beats again if the learner switched the metronome on.
    void resumeMetronome();

public:
    // dialogs/preview_panel.cpp: the preview panel and the hover hints.
    void imgVysunNahled_Click();
    void imgZasunNahled_Click();
    bool previewIsOut() const;
    void Form_MouseMove();
    void imgVysunNahled_MouseMove();
    void imgZasunNahled_MouseMove();
    void imgMetronom_MouseMove();
    void imgDalsi_MouseMove();
    void lblKlavesa_MouseMove();
    void txtVstup_MouseMove();
    // lblNapoveda001_MouseMove … lblNapoveda004_MouseMove: each hides its own hint.
    void lblNapoveda_MouseMove(Control& hint);

    // dialogs/settings_menu.cpp: the settings dialog, paused around; the about box.
    void mnuNastaveni_Click();
    void mnuOProgramu_Click();

private:
    LessonFile exerciseFile_;
    ResultsRecording* results_ = nullptr;
    bool linesRanOut_ = false;

    Promenne& shared_;
    Platform& platform_;
    FileLocations files_;
};

} // namespace tipora
