#pragma once

#include "app/platform.h"
#include "demo/frm_demo.h"
#include "dialogs/frm_nastaveni.h"
#include "dialogs/frm_oprogramu.h"
#include "exam/exam_session.h"

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
    // Heard as a beep here, as where no sound card keeps the beat.
    void metronomeBeat() override {
        ++beeps;
        ++beats;
    }

    MessageResult messageBox(const QString& text, const QString& title,
                             MessageButtons buttons) override {
        messages.push_back({text, title, buttons});
        const ModalScope open(*this, true);
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
        inDialog(demoDialogs, [&] {
            if (demoDialog) {
                demoDialog(dialog);
            }
            dialog.cmdOK_Click();
        });
    }
    void showSettingsDialog(FrmNastaveni& dialog) override {
        inDialog(settingsDialogs, [&] {
            if (settingsDialog) {
                settingsDialog(dialog);
            }
        });
    }
    void showAboutBox(FrmOProgramu& dialog) override {
        inDialog(aboutBoxes, [&] { dialog.Form_Click(); });
    }
    bool chooseExam(ExamChoice& choice) override {
        bool start = false;
        inDialog(examDialogs, [&] { start = examChoice && examChoice(choice); });
        return start;
    }
    void runExam(ExamSession& exam) override {
        inDialog(examWindows, [&] {
            if (examLearner) {
                examLearner(exam);
            }
        });
    }
    void showExamResult(const ExamSheet& sheet) override {
        inDialog(examResults, [&] { examSheets.push_back(sheet); });
    }
    QString chooseTextFile() override {
        QString chosen;
        inDialog(fileDialogs, [&] { chosen = textFile; });
        return chosen;
    }
    ResultsChoice showResultsWindow(int keyboardType) override {
        resultsKeyboardType = keyboardType;
        inDialog(resultsWindows, [] {});
        return resultsChoice;
    }
    QTime currentTime() const override { return time; }
    qint64 elapsedMilliseconds() const override { return elapsed ? elapsed() : 0; }
    QLocale locale() const override { return localeInUse; }
    QSize screenSizeTwips() const override { return screen; }
    void quit() override {
        ++quits;
        if (modalDepth > 0) {
            ++callsUnderModal;
        }
    }

    // Modal calls open at the moment. One made while another is open can only come from a timer
    // handler, since the window ignores the learner's commands meanwhile; a timer may end a
    // demonstration under the about box, and its question then opens over that box, but nothing
    // should open over a message box, and no dialog over anything.
    int modalDepth = 0;
    int openBoxes = 0;
    int nestedModals = 0;    // the unsound kind
    int callsUnderModal = 0; // other requests that only a command could make (quit)

    int beeps = 0;
    int beats = 0;
    int demoDialogs = 0;
    int settingsDialogs = 0;
    int aboutBoxes = 0;
    int resultsWindows = 0;
    int fileDialogs = 0;
    int examDialogs = 0;
    int examWindows = 0;
    int examResults = 0;
    // The learner in the exam dialog (false: Zrušit) and at the copy test.
    std::function<bool(ExamChoice&)> examChoice;
    std::function<void(ExamSession&)> examLearner;
    std::vector<ExamSheet> examSheets;
    QString textFile; // what the learner picks in the file dialog
    // How the learner leaves the results window, and the arrangement it was shown in.
    ResultsChoice resultsChoice = ResultsChoice::Closed;
    int resultsKeyboardType = 0;
    // The learner in the settings dialog; it must close it with OK or Zruš.
    std::function<void(FrmNastaveni&)> settingsDialog;
    std::function<void(FrmDemo&)> demoDialog;
    int quits = 0;
    std::vector<Message> messages;
    std::deque<MessageResult> answers;
    std::function<void()> whileModal;  // runs while a message box is "open"
    std::function<void()> whileDialog; // runs while a dialog is "open", before its script
    QTime time{12, 0, 0};
    std::function<qint64()> elapsed; // the monotonic clock: the virtual clock's time
    QLocale localeInUse{QLocale::Czech, QLocale::CzechRepublic};
    QSize screen{19200, 15360}; // 1280 x 1024 pixels

private:
    // A dialog counted and held open while the interruption and then the learner's script run.
    template <class Script> void inDialog(int& count, Script script) {
        ++count;
        const ModalScope open(*this, false);
        if (whileDialog) {
            whileDialog();
        }
        script();
    }

    struct ModalScope {
        ModalScope(FakePlatform& platform, bool box) : p(platform), isBox(box) {
            if (p.openBoxes > 0 || (!isBox && p.modalDepth > 0)) {
                ++p.nestedModals;
            }
            ++p.modalDepth;
            p.openBoxes += isBox ? 1 : 0;
        }
        ~ModalScope() {
            --p.modalDepth;
            p.openBoxes -= isBox ? 1 : 0;
        }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
        FakePlatform& p;
        bool isBox;
    };
};

} // namespace tipora::test
