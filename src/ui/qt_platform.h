#pragma once

#include "app/local_clock.h"
#include "app/platform.h"
#include "ui/beeper.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace tipora::ui {

class LateResults;

class QtPlatform : public Platform {
public:
    QtPlatform();

    void beep() override;
    void metronomeBeat() override;
    MessageResult messageBox(const QString& text, const QString& title,
                             MessageButtons buttons) override;
    void showDemoDialog(FrmDemo& dialog) override;
    void showSettingsDialog(FrmNastaveni& dialog) override;
    void showAboutBox(FrmOProgramu& dialog) override;
    ResultsChoice showResultsWindow(int keyboardType) override;
    QString chooseTextFile() override;
    bool chooseExam(ExamChoice& choice) override;
    void runExam(ExamSession& exam) override;
    void showExamResult(const ExamSheet& sheet) override;
    QTime currentTime() const override;
    qint64 elapsedMilliseconds() const override { return sinceStart_.elapsed(); }
    QLocale locale() const override;
    QSize screenSizeTwips() const override;
    void quit() override;

    // Message boxes are centred over this window once it exists.
    void setParentWindow(QWidget* window) { parent_ = window; }
    // Runs before every message box and dialog, so that none opens over a window that does
    // not yet show what the handler asking for it has done.
    void setBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }
    // What the sound card should be ready for; told after every event.
    void planSound(const SoundPlan& plan) { beeper_.plan(plan); }
    // The history the results window shows.
    void setResults(LateResults* results) { results_ = results; }

private:
    void prepareModal();

    QPointer<QWidget> parent_;
    std::function<void()> beforeModal_;
    LateResults* results_ = nullptr;
    mutable LocalClock clock_;
    QElapsedTimer sinceStart_;
    // Opens its sound stream when a lesson first plans a beep, before its first key can come.
    Beeper beeper_;
};

} // namespace tipora::ui
