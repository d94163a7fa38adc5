#include "window/frm_tipora.h"

#include "app/display_rules.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "ground/key_table.h"

namespace tipora {

namespace {

// A timer follows its owner; one the owner stopped and started again within a handler starts its
// countdown afresh, as a toolkit timer disabled and enabled does.
void follow(ModelTimer& timer, bool running, std::uint64_t starts, std::uint64_t& applied) {
    if (running && timer.enabled() && starts != applied) {
        timer.setEnabled(false);
    }
    if (timer.enabled() != running) {
        timer.setEnabled(running);
    }
    applied = starts;
}

void follow(ModelTimer& timer, bool running) {
    if (timer.enabled() != running) {
        timer.setEnabled(running);
    }
}

bool pausedOnScreen(Phase phase) {
    return phase == Phase::Paused || phase == Phase::Held || phase == Phase::DemonstrationPaused ||
           phase == Phase::EndedPaused;
}

} // namespace

FrmTipora::FrmTipora(Promenne& shared, Platform& platform, FileLocations files)
    : shared_(shared), platform_(platform), files_(std::move(files)), session_(platform),
      lighting_(form.lblKlavesa) {}

FrmTipora::FrmTipora(Promenne& shared, Platform& platform, const QDir& folder)
    : FrmTipora(shared, platform, locationsInFolder(folder)) {}

QString FrmTipora::dataPath(const QString& fileName) const {
    return files_.course.filePath(fileName);
}

void FrmTipora::sync() {
    const PhaseRules& rules = session_.rules();
    form.mnuLekce.enabled = rules.lessonMenu;
    form.mnuVysledky.enabled = rules.lessonMenu;
    form.mnuZkouska.enabled = rules.lessonMenu;
    form.mnuStop.enabled = session_.stopEnabled();
    form.mnuPause.enabled = rules.pause;
    form.mnuDemo.enabled = rules.demo;
    follow(form.tmrTimeP, rules.lessonClock);
    follow(form.tmrDemo, rules.demoSteps);
    follow(form.tmrText, session_.messageShowing(), session_.messageStarts(),
           messageStartsApplied_);
    follow(form.tmrMetronom, session_.metronomeBeating(), session_.metronomeStarts(),
           metronomeStartsApplied_);
    follow(form.tmrDemoClick, demo_.flashing(), demo_.flashes(), flashesApplied_);
    form.lblPause.fore = pausedOnScreen(session_.phase()) ? kRed : kWhite;

    // While the preview is out, the input line shows the transcript above the line in progress.
    // The transcript only grows, so its length tells whether it changed.
    const ExerciseLine& line = session_.line();
    const ShownInput input{session_.previewOut(), session_.transcript().size(), line.typed()};
    if (!(input == shownInput_)) {
        const QString& transcript = session_.transcript();
        form.txtVstup.text = !input.previewOut || transcript.isEmpty()
                                 ? line.typed()
                                 : transcript + QStringLiteral("\r\n") + line.typed();
        shownInput_ = input;
    }
    form.shpKurzor.geometry.left = columnLeft(line.column());
    showFigures();
}

// The learner's figures, or while the tutor types, the demonstration's own.
void FrmTipora::showFigures() {
    Shown now;
    if (session_.demonstrating()) {
        now = {0, 0.0F, demo_.lines(), demo_.keystrokes(), demo_.speed(), demo_.seconds()};
    } else {
        const PracticeStatistics& s = session_.statistics();
        now = {s.errors(),     s.errorsPerLine(),       s.lines(),
               s.keystrokes(), s.keystrokesPerMinute(), s.seconds()};
    }
    if (now == shown_) {
        return;
    }
    // Formatting through the locale is slow, and most steps change one figure at most.
    const QLocale locale =
        now.seconds != shown_.seconds || now.errorsPerLine != shown_.errorsPerLine
            ? platform_.locale()
            : QLocale::c();
    if (now.seconds != shown_.seconds) {
        form.lblTimeP.text = lessonTimeText(now.seconds, locale);
    }
    if (now.errorsPerLine != shown_.errorsPerLine) {
        form.lblChybyNaRadek.text = errorsPerLineText(now.errorsPerLine, locale);
    }
    const std::pair<int Shown::*, Control*> counters[] = {
        {&Shown::errors, &form.lblChyby},
        {&Shown::lines, &form.lblRadky},
        {&Shown::keystrokes, &form.lblUhozy},
        {&Shown::keystrokesPerMinute, &form.lblUhozyVMin}};
    for (const auto& [figure, label] : counters) {
        if (now.*figure != shown_.*figure) {
            label->text = counterText(now.*figure);
        }
    }
    shown_ = now;
}

MessageResult FrmTipora::ask(const QString& text, MessageButtons buttons) {
    sync();
    return platform_.messageBox(text, texts::kMessageTitle, buttons);
}

void FrmTipora::Form_Load() {
    const Step step(*this);
    form.window.mousePointer = MousePointer::Hourglass;

    form.window.centreOn(platform_.screenSizeTwips());

    if (shared_.TypKlavesnice == 2) {
        form.arrangeForQwerty();
    }

    session_.reset();
    lighting_.reset();
    demo_ = Demonstration{};
    shown_ = Shown{};
    shownInput_ = ShownInput{};

    readSettingsFile();
    form.window.mousePointer = MousePointer::Default;
}

void FrmTipora::readSettingsFile() {
    if (!tipora::readSettingsFile(files_.settings, files_.defaultSettings, shared_)) {
        ask(texts::kSettingsMissing, MessageButtons::Ok);
        form.lblZadani.text = texts::kError;
    }
}

void FrmTipora::Form_Unload() {
    // The lesson's file is read whole when it opens; nothing is left open to close.
}

void FrmTipora::mnuExit_Click() {
    platform_.quit();
}

void FrmTipora::tmrTime_Timer() {
    form.lblTime.text = timeOfDayText(platform_.currentTime(), platform_.locale());
}

void FrmTipora::MazaniPromennych() {
    const Step step(*this);
    session_.clearStatistics();
}

void FrmTipora::mnuVysledky_Click() {
    // Between lessons only: the window's deletion must not pull the history from under a lesson.
    if (!session_.rules().lessonMenu) {
        return;
    }
    sync();
    if (platform_.showResultsWindow(shared_.TypKlavesnice.value()) ==
        Platform::ResultsChoice::WeakKeyDrill) {
        mnuSlabeKlavesy_Click();
    }
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
    handlers.emplace_back(&form.mnuSlabeKlavesy, [this] { mnuSlabeKlavesy_Click(); });
    handlers.emplace_back(&form.mnuVlastniText, [this] { mnuVlastniText_Click(); });
    handlers.insert(handlers.end(), {{&form.mnuStop, [this] { mnuStop_Click(); }},
                                     {&form.mnuPause, [this] { mnuPause_Click(); }},
                                     {&form.mnuDemo, [this] { mnuDemo_Click(); }},
                                     {&form.mnuNastaveni, [this] { mnuNastaveni_Click(); }},
                                     {&form.mnuVysledky, [this] { mnuVysledky_Click(); }},
                                     {&form.mnuZkouska, [this] { mnuZkouska_Click(); }},
                                     {&form.mnuExit, [this] { mnuExit_Click(); }},
                                     {&form.mnuOProgramu, [this] { mnuOProgramu_Click(); }}});
    return handlers;
}

} // namespace tipora
