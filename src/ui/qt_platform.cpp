#include "ui/qt_platform.h"

#include "app/texts.h"
#include "history/history_texts.h"
#include "lessons/drill_texts.h"
#include "ui/about_box.h"
#include "ui/demo_speed_dialog.h"
#include "ui/exam_window.h"
#include "ui/fonts.h"
#include "ui/results_module.h"
#include "ui/settings_dialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace tipora::ui {

void QtPlatform::beep() {
    beeper_.beep();
}

void QtPlatform::metronomeBeat() {
    beeper_.beatTick();
}

void QtPlatform::prepareModal() {
    if (beforeModal_) {
        beforeModal_();
    }
}

MessageResult QtPlatform::messageBox(const QString& text, const QString& title,
                                     MessageButtons buttons) {
    prepareModal();
    QWidget* parent = parent_ && parent_->isVisible() ? parent_.data() : nullptr;
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    if (buttons == MessageButtons::YesNo) {
        box.addButton(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
        box.addButton(QMessageBox::No)->setText(QStringLiteral("Ne"));
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.addButton(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (buttons == MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    return MessageResult::Ok;
}

void QtPlatform::showDemoDialog(FrmDemo& dialog) {
    prepareModal();
    DemoSpeedDialog widget(dialog, parent_);
    widget.exec();
}

void QtPlatform::showSettingsDialog(FrmNastaveni& dialog) {
    prepareModal();
    SettingsDialog widget(dialog, parent_);
    widget.exec();
}

void QtPlatform::showAboutBox(FrmOProgramu& dialog) {
    prepareModal();
    AboutBox widget(dialog, parent_);
    widget.exec();
}

Platform::ResultsChoice QtPlatform::showResultsWindow(int keyboardType) {
    if (results_ == nullptr) {
        return ResultsChoice::Closed;
    }
    prepareModal();
    const std::optional<bool> drill = results_->showWindow(*this, parent_, keyboardType);
    // The drill is typed at once: the keys must reach the main window, even where no window
    // manager hands it the focus back.
    if (parent_ != nullptr) {
        parent_->activateWindow();
    }
    if (!drill) {
        messageBox(texts::resultsUnavailable(LateResults::moduleFileName()), texts::kMessageTitle,
                   MessageButtons::Ok);
    }
    return drill.value_or(false) ? ResultsChoice::WeakKeyDrill : ResultsChoice::Closed;
}

bool QtPlatform::chooseExam(ExamChoice& choice) {
    prepareModal();
    return runExamDialog(choice, parent_);
}

void QtPlatform::runExam(ExamSession& exam) {
    prepareModal();
    runExamWindow(exam,
                  {[this] { beep(); }, [this] { metronomeBeat(); },
                   [this](const SoundPlan& plan) { planSound(plan); }},
                  parent_);
}

void QtPlatform::showExamResult(const ExamSheet& sheet) {
    if (results_ == nullptr) {
        return;
    }
    prepareModal();
    if (!results_->showExamResult(sheet, *this, parent_)) {
        messageBox(texts::resultsUnavailable(LateResults::moduleFileName()), texts::kMessageTitle,
                   MessageButtons::Ok);
    }
    if (parent_ != nullptr) {
        parent_->activateWindow();
    }
}

QString QtPlatform::chooseTextFile() {
    prepareModal();
    return QFileDialog::getOpenFileName(parent_, texts::kOwnTextDialogTitle, QDir::homePath(),
                                        texts::kOwnTextFilter);
}

QtPlatform::QtPlatform()
    : clock_([](qint64 msecsSinceEpoch) {
          return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).offsetFromUtc();
      }) {
    sinceStart_.start();
}

QTime QtPlatform::currentTime() const {
    return clock_.timeAt(QDateTime::currentMSecsSinceEpoch());
}

QLocale QtPlatform::locale() const {
    return QLocale::system();
}

QSize QtPlatform::screenSizeTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    return size * kTwipsPerPixel;
}

void QtPlatform::quit() {
    QCoreApplication::exit(0);
}

} // namespace tipora::ui
