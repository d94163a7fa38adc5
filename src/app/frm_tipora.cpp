#include "app/frm_tipora.h"

#include "app/display_rules.h"
#include "app/platform.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "ground/key_table.h"

namespace tipora {

FrmTipora::FrmTipora(Promenne& shared, Platform& platform, FileLocations files)
    : shared_(shared), platform_(platform), files_(std::move(files)) {}

FrmTipora::FrmTipora(Promenne& shared, Platform& platform, const QDir& folder)
    : FrmTipora(shared, platform, locationsInFolder(folder)) {}

QString FrmTipora::dataPath(const QString& fileName) const {
    return files_.course.filePath(fileName);
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

    state = PracticeState{};
    form.lblTimeP.text = lessonTimeText(0, platform_.locale());

    readSettingsFile();
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::readSettingsFile() {
    if (!tipora::readSettingsFile(files_.settings, files_.defaultSettings, shared_)) {
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

TimerHandlers FrmTipora::timerHandlers() {
    return {{&form.tmrTime, [this] { tmrTime_Timer(); }},
            {&form.tmrTimeP, [this] { tmrTimeP_Timer(); }},
            {&form.tmrText, [this] { tmrText_Timer(); }},
            {&form.tmrDemo, [this] { tmrDemo_Timer(); }},
            {&form.tmrDemoClick, [this] { tmrDemoClick_Timer(); }},
            {&form.tmrMetronom, [this] { tmrMetronom_Timer(); }}};
}

ControlHandlers FrmTipora::clickHandlers() {
    return {{&form.lblPause, [this] { lblPause_Click(); }},
            {&form.imgDalsi, [this] { imgDalsi_Click(); }},
            {&form.imgMetronom, [this] { imgMetronom_Click(); }},
            {&form.imgVysunNahled, [this] { imgVysunNahled_Click(); }},
            {&form.imgZasunNahled, [this] { imgZasunNahled_Click(); }}};
}

ControlHandlers FrmTipora::mouseMoveHandlers() {
    ControlHandlers handlers{{&form.imgVysunNahled, [this] { imgVysunNahled_MouseMove(); }},
                             {&form.imgZasunNahled, [this] { imgZasunNahled_MouseMove(); }},
                             {&form.imgMetronom, [this] { imgMetronom_MouseMove(); }},
                             {&form.imgDalsi, [this] { imgDalsi_MouseMove(); }},
                             {&form.txtVstup, [this] { txtVstup_MouseMove(); }}};
    for (auto& key : form.lblKlavesa) {
        handlers.emplace_back(&key.second, [this] { lblKlavesa_MouseMove(); });
    }
    for (Control* hint :
         {&form.lblNapoveda001, &form.lblNapoveda002, &form.lblNapoveda003, &form.lblNapoveda004}) {
        handlers.emplace_back(hint, [this, hint] { lblNapoveda_MouseMove(*hint); });
    }
    return handlers;
}

MenuHandlers FrmTipora::menuHandlers() {
    MenuHandlers handlers;
    for (int number = 1; number <= kLessonItemCount; ++number) {
        handlers.emplace_back(&form.mnuLekceN[static_cast<std::size_t>(number - 1)],
                              [this, number] { mnuLekce_Click(number); });
    }
    handlers.insert(handlers.end(), {{&form.mnuStop, [this] { mnuStop_Click(); }},
                                     {&form.mnuPause, [this] { mnuPause_Click(); }},
                                     {&form.mnuDemo, [this] { mnuDemo_Click(); }},
                                     {&form.mnuNastaveni, [this] { mnuNastaveni_Click(); }},
                                     {&form.mnuVysledky, [this] { mnuVysledky_Click(); }},
                                     {&form.mnuExit, [this] { mnuExit_Click(); }},
                                     {&form.mnuOProgramu, [this] { mnuOProgramu_Click(); }}});
    return handlers;
}

} // namespace tipora
