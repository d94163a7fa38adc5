#pragma once

#include "app/frm_tipora_form.h"
#include "app/practice_state.h"
#include "app/promenne.h"
#include "app/results_recording.h"
#include "lessons/lesson_file.h"

#include <QDir>
#include <functional>
#include <utility>
#include <vector>

namespace tipora {

class Platform;

inline constexpr int kMetronomeMinTempo = 1;
inline constexpr int kMetronomeMaxTempo = 1000;
inline constexpr int kMetronomeDefaultTempo = 100;

// The metronome's beat in milliseconds for a tempo in keystrokes per minute.
int metronomeInterval(const SharedValue& tempo);

// The main window's behaviour: its handlers change the form model and the practice state; the
// UI layer only shows the model and turns events into handler calls.
class FrmTipora {
public:
    FrmTipora(Promenne& shared, Platform& platform, QDir dataDir = QDir::current());

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

    // Lessons: mnuLekce01_Click … mnuLekce50_Click all start their lesson this way.
    void mnuLekce_Click(int lesson);

    // Checking: one typed character as its Windows-1250 code (8 Backspace, 9 Tab, 13 Enter,
    // 27 Esc; -1 for a character the code page lacks).
    void Form_KeyPress(int KeyAscii);

    // Line feeding.
    void NactiDalsiRadek();
    void imgDalsi_Click();
    void tmrText_Timer();

    // The on-screen keyboard under the learner's hands; k is the key code of the key table.
    void Form_KeyDown(int k);
    void Form_KeyUp(int k);
    // Lights a key, remembering its colour; false when the key has no label.
    bool RozsviceniKlavesy(int code);
    void ZhasnutiKlavesy();
    // Before the whole keyboard is recoloured: a key held meanwhile would otherwise get the
    // colour of the keyboard before on its release.
    void putOutLitKeys();

    // The demonstration and the metronome.
    void mnuDemo_Click();
    void tmrDemo_Timer();
    void tmrDemoClick_Timer();
    void imgMetronom_Click();
    void tmrMetronom_Timer();

    // The preview panel and the hover hints.
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

    // The settings dialog, paused around; the about box.
    void mnuNastaveni_Click();
    void mnuOProgramu_Click();

    // The results history: told of every lesson; its window opens between lessons.
    void setResultsRecording(ResultsRecording* recording) { results_ = recording; }
    void mnuVysledky_Click();

    // Clocks, pause and the end of a lesson.
    void tmrTimeP_Timer();
    void mnuPause_Click();
    void lblPause_Click();
    void mnuStop_Click();

    // Each timer with the handler it runs when due.
    std::vector<std::pair<ModelTimer*, std::function<void()>>> timerHandlers();

    // A file of the program by its bare name, in the data folder.
    QString dataPath(const QString& fileName) const;

private:
    void closeAllFiles();
    void showStatistics();
    void readSettingsFile();

    void SetLekce();
    // Each says why the lesson cannot start, or Problem::None.
    LessonFile::Problem readDescription(int lesson);
    LessonFile::Problem openExercise(int lesson);
    void showLine();
    void resetLinePosition();
    void recomputeKeystrokesPerMinute();
    void closeLine();
    void countError();
    PracticeCounters counters() const;
    // The lesson's lines ran out: the Stop that follows finishes it.
    void endOfLines();

    LessonFile exerciseFile_;
    ResultsRecording* results_ = nullptr;
    bool linesRanOut_ = false;

    Promenne& shared_;
    Platform& platform_;
    QDir dataDir_;
};

} // namespace tipora
