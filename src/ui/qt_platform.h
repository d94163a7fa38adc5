#pragma once

#include "app/platform.h"
#include "ui/beeper.h"

#include <QPointer>
#include <QWidget>

namespace tipora::ui {

class QtPlatform : public Platform {
public:
    void beep() override;
    MessageResult messageBox(const QString& text, const QString& title,
                             MessageButtons buttons) override;
    void showDemoDialog(FrmDemo& dialog) override;
    void showSettingsDialog(FrmNastaveni& dialog) override;
    void showAboutBox(FrmOProgramu& dialog) override;
    QTime currentTime() const override;
    QLocale locale() const override;
    QSize screenSizeTwips() const override;
    void quit() override;

    // Message boxes are centred over this window once it exists.
    void setParentWindow(QWidget* window) { parent_ = window; }

private:
    QPointer<QWidget> parent_;
    // Opens its sound stream here, before any window takes keys, so the first beep is a click.
    Beeper beeper_;
};

} // namespace tipora::ui
