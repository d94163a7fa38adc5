#pragma once

#include "app/frm_tipora_form.h"
#include "app/practice_state.h"
#include "app/promenne.h"

#include <QDir>
#include <functional>
#include <utility>
#include <vector>

namespace tipora {

class Platform;

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

    // Each timer with the handler it runs when due.
    std::vector<std::pair<ModelTimer*, std::function<void()>>> timerHandlers();

    // A file of the program by its bare name, in the data folder.
    QString dataPath(const QString& fileName) const;

private:
    void closeAllFiles();
    void showStatistics();
    void readSettingsFile();

    Promenne& shared_;
    Platform& platform_;
    QDir dataDir_;
};

} // namespace tipora
