#include "app/frm_tipora.h"

#include "app/display_rules.h"
#include "app/platform.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "keyboard/key_table.h"

namespace tipora {

FrmTipora::FrmTipora(Promenne& shared, Platform& platform, QDir dataDir)
    : shared_(shared), platform_(platform), dataDir_(std::move(dataDir)) {}

QString FrmTipora::dataPath(const QString& fileName) const {
    return dataDir_.filePath(fileName);
}

void FrmTipora::Form_Load() {
    form.window.mousePointer = MousePointer::Hourglass;

    form.window.centreOn(platform_.screenSizeTwips());

    if (shared_.TypKlavesnice == 2) {
        Geometry& y = form.klavesa(kKeyY)->geometry;
        y.left += kQwertyYMoveRight;
        y.top += kQwertyYMoveDown;
        Geometry& z = form.klavesa(kKeyZ)->geometry;
        z.left -= kQwertyYMoveRight;
        z.top -= kQwertyYMoveDown;
    }

    form.txtVstup.locked = true;
    form.txtPopisLekce.locked = true;

    state = PracticeState{};
    form.lblTimeP.text = lessonTimeText(0, platform_.locale());

    readSettingsFile();
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::readSettingsFile() {
    if (!tipora::readSettingsFile(dataPath(texts::kSettingsFileName), shared_)) {
        platform_.messageBox(texts::kSettingsMissing, texts::kMessageTitle, MessageButtons::Ok);
        form.lblZadani.text = texts::kError;
    }
}

void FrmTipora::closeAllFiles() {
    exerciseFile_.close();
}

void FrmTipora::Form_Unload() {
    closeAllFiles();
}

void FrmTipora::mnuExit_Click() {
    closeAllFiles();
    platform_.quit();
}

void FrmTipora::tmrTime_Timer() {
    form.lblTime.text = timeOfDayText(platform_.currentTime(), platform_.locale());
}

void FrmTipora::MazaniPromennych() {
    state.Chyby = 0;
    state.ChybyNaRadek = 0.0F;
    state.Radky = 0;
    state.Uhozy = 0;
    state.UhozyVMin = 0;
    state.TimeP = 0;
    showStatistics();
}

void FrmTipora::showStatistics() {
    const QLocale locale = platform_.locale();
    form.lblTimeP.text = lessonTimeText(state.TimeP, locale);
    form.lblChyby.text = counterText(state.Chyby);
    form.lblChybyNaRadek.text = errorsPerLineText(state.ChybyNaRadek, locale);
    form.lblRadky.text = counterText(state.Radky);
    form.lblUhozy.text = counterText(state.Uhozy);
    form.lblUhozyVMin.text = counterText(state.UhozyVMin);
}

PracticeCounters FrmTipora::counters() const {
    return {state.Uhozy, state.Chyby, state.Radky, state.TimeP};
}

void FrmTipora::mnuVysledky_Click() {
    // Between lessons only: the window's deletion must not pull the history from under a lesson.
    if (!form.mnuVysledky.enabled) {
        return;
    }
    platform_.showResultsWindow();
}

std::vector<std::pair<ModelTimer*, std::function<void()>>> FrmTipora::timerHandlers() {
    return {{&form.tmrTime, [this] { tmrTime_Timer(); }},
            {&form.tmrTimeP, [this] { tmrTimeP_Timer(); }},
            {&form.tmrText, [this] { tmrText_Timer(); }},
            {&form.tmrDemo, [this] { tmrDemo_Timer(); }},
            {&form.tmrDemoClick, [this] { tmrDemoClick_Timer(); }},
            {&form.tmrMetronom, [this] { tmrMetronom_Timer(); }}};
}

} // namespace tipora
