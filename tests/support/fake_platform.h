#pragma once

#include "app/platform.h"
#include "demo/frm_demo.h"
#include "dialogs/frm_nastaveni.h"
#include "dialogs/frm_oprogramu.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace tipora::test {

// Records what the handlers ask of the desktop and answers from a script.
class FakePlatform : public Platform {
public:
    struct Message {
        QString text;
        QString title;
        MessageButtons buttons;
    };

    void beep() override { ++beeps; }

    MessageResult messageBox(const QString& text, const QString& title,
                             MessageButtons buttons) override {
        messages.push_back({text, title, buttons});
        if (whileModal) {
            whileModal();
        }
        if (answers.empty()) {
            return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
        }
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The learner in the demonstration-speed dialog: the script acts on the loaded dialog;
    // without one, Start is pressed at once.
    void showDemoDialog(FrmDemo& dialog) override {
        ++demoDialogs;
        if (demoDialog) {
            demoDialog(dialog);
        }
        dialog.cmdOK_Click();
    }
    void showSettingsDialog(FrmNastaveni& dialog) override {
        ++settingsDialogs;
        if (settingsDialog) {
            settingsDialog(dialog);
        }
    }
    void showAboutBox(FrmOProgramu& dialog) override {
        ++aboutBoxes;
        dialog.Form_Click();
    }
    QTime currentTime() const override { return time; }
    QLocale locale() const override { return localeInUse; }
    QSize screenSizeTwips() const override { return screen; }
    void quit() override { ++quits; }

    int beeps = 0;
    int demoDialogs = 0;
    int settingsDialogs = 0;
    int aboutBoxes = 0;
    // The learner in the settings dialog; it must close it with OK or Zruš.
    std::function<void(FrmNastaveni&)> settingsDialog;
    std::function<void(FrmDemo&)> demoDialog;
    int quits = 0;
    std::vector<Message> messages;
    std::deque<MessageResult> answers;
    std::function<void()> whileModal; // runs while a message box is "open"
    QTime time{12, 0, 0};
    QLocale localeInUse{QLocale::Czech, QLocale::CzechRepublic};
    QSize screen{19200, 15360}; // 1280 x 1024 pixels
};

} // namespace tipora::test
