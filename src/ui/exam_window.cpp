#include "ui/exam_window.h"

#include "exam/exam_session.h"
#include "exam/exam_texts.h"
#include "keyboard/key_lighting.h"
#include "keyboard/key_marking.h"
#include "lessons/drill_texts.h"
#include "lessons/own_text.h"
#include "ui/key_codes.h"
#include "ui/keyboard_surface.h"
#include "ui/pictures.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace tipora::ui {

namespace {

const QString kStart = QStringLiteral("Začít");
const QString kCancel = QStringLiteral("Zrušit");
const QString kStop = QStringLiteral("Stop");
const QString kShowResult = QStringLiteral("Výsledek");
const QString kTextLabel = QStringLiteral("Text:");
const QString kTimeLabel = QStringLiteral("Čas:");
const QString kPenaltyLabel = QStringLiteral("Penalizace za chybu:");
const QString kNameLabel = QStringLiteral("Jméno (na výsledkový list):");
const QString kTimeUp = QStringLiteral("Čas vypršel.");
const QString kStartsWithFirstKey = QStringLiteral("Čas běží od prvního úhozu.");
const QString kMetronome = QStringLiteral("metronom");

// A copy test is typed: what the clipboard or a drop would bring is not taken.
class TypingArea : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* /*source*/) const override { return false; }
    void insertFromMimeData(const QMimeData* /*source*/) override {}
};

// Esc, pressed by mistake in the middle of a test, must not end it; Stop does.
class ExamDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Escape) {
            QDialog::keyPressEvent(event);
        }
    }
};

// Passes the typing area's keys to the keyboard under it, and lets them on.
class KeyFeedback : public QObject {
public:
    explicit KeyFeedback(std::function<void(QKeyEvent&, bool)> onKey) : onKey_(std::move(onKey)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
            !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            onKey_(*static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QKeyEvent&, bool)> onKey_;
};

void paintBlack(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

bool runExamDialog(ExamChoice& choice, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmZkouska"));
    dialog.setWindowTitle(texts::kExamMenu);
    auto* text = new QComboBox(&dialog);
    text->setObjectName(QStringLiteral("cmbText"));
    for (const ExamText& t : choice.texts) {
        text->addItem(t.title);
    }
    text->addItem(texts::kOwnExamText);
    auto* minutes = new QComboBox(&dialog);
    minutes->setObjectName(QStringLiteral("cmbMinuty"));
    for (const int m : kExamMinutes) {
        minutes->addItem(QStringLiteral("%1 min").arg(m), m);
    }
    minutes->setCurrentIndex(minutes->findData(choice.minutes));
    auto* penalty = new QComboBox(&dialog);
    penalty->setObjectName(QStringLiteral("cmbPenalizace"));
    for (const int p : kExamPenalties) {
        penalty->addItem(QString::number(p), p);
    }
    penalty->setCurrentIndex(penalty->findData(choice.penalty));
    auto* name = new QLineEdit(choice.learner, &dialog);
    name->setObjectName(QStringLiteral("txtJmeno"));

    auto* form = new QFormLayout;
    form->addRow(kTextLabel, text);
    form->addRow(kTimeLabel, minutes);
    form->addRow(kPenaltyLabel, penalty);
    form->addRow(kNameLabel, name);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* start = buttons->addButton(kStart, QDialogButtonBox::AcceptRole);
    start->setObjectName(QStringLiteral("cmdZacit"));
    buttons->addButton(kCancel, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        choice.minutes = minutes->currentData().toInt();
        choice.penalty = penalty->currentData().toInt();
        choice.learner = name->text().trimmed();
        choice.textIndex = text->currentIndex();
        choice.ownFile.clear();
        if (choice.textIndex < choice.texts.size()) {
            return true;
        }
        choice.ownFile = QFileDialog::getOpenFileName(&dialog, texts::kOwnTextDialogTitle,
                                                      QDir::homePath(), texts::kOwnTextFilter);
        if (!choice.ownFile.isEmpty()) {
            return true;
        }
    }
}

void runExamWindow(ExamSession& exam, const ExamSound& sound, QWidget* parent) {
    ExamDialog window(parent);
    window.setObjectName(QStringLiteral("frmOpis"));
    window.setWindowTitle(texts::kExamMenu + QStringLiteral(" – ") + exam.text().title);
    paintBlack(window);

    auto* original = new QTextEdit(&window);
    original->setObjectName(QStringLiteral("txtOriginal"));
    original->setReadOnly(true);
    original->setPlainText(exam.text().text);
    original->setFocusPolicy(Qt::NoFocus);
    QFont paper(QStringLiteral("serif"));
    paper.setPointSizeF(12);
    original->setFont(paper);
    original->setStyleSheet(QStringLiteral("background: white; color: black;"));

    auto* typing = new TypingArea(&window);
    typing->setContextMenuPolicy(Qt::NoContextMenu);
    typing->setObjectName(QStringLiteral("txtOpis"));
    typing->setFont(paper);
    typing->setTabChangesFocus(true);
    typing->setStyleSheet(QStringLiteral("background: white; color: black;"));

    auto* clock = new QLabel(exam.clockText(), &window);
    clock->setObjectName(QStringLiteral("lblCas"));
    QFont big = clock->font();
    big.setPointSize(18);
    big.setBold(true);
    clock->setFont(big);
    auto* note = new QLabel(kStartsWithFirstKey, &window);
    note->setObjectName(QStringLiteral("lblPoznamka"));
    auto* stop = new QPushButton(kStop, &window);
    stop->setObjectName(QStringLiteral("cmdStop"));
    stop->setAutoDefault(false);

    // The loudspeaker switches the metronome as in a lesson; it beats until the time is up.
    auto* metronome = new QPushButton(QIcon(pictures::loudspeaker()), kMetronome, &window);
    metronome->setObjectName(QStringLiteral("cmdMetronom"));
    metronome->setCheckable(true);
    metronome->setChecked(exam.feedback.metronomeOn && exam.feedback.metronomeMs > 0);
    metronome->setEnabled(exam.feedback.metronomeMs > 0);
    metronome->setAutoDefault(false);
    metronome->setFocusPolicy(Qt::NoFocus);

    auto* bar = new QHBoxLayout;
    bar->addWidget(metronome);
    bar->addWidget(clock);
    bar->addWidget(note, 1);
    bar->addWidget(stop);
    // The keyboard under the text, as in a lesson: the keys the text uses green, the key
    // pressed lit.
    KeyboardSurface keyboard(exam.feedback.keyboardType, &window);
    whitenKeyboard(keyboard.keys());
    for (const int code : keyCodesOf(exam.text().text)) {
        if (const auto key = keyboard.keys().find(code); key != keyboard.keys().end()) {
            key->second.back = kGreen;
        }
    }
    keyboard.sync();
    KeyLighting lighting(keyboard.keys());
    const KeyLighting::Options options{exam.feedback.lighting, exam.feedback.shiftedCaptions};
    KeyFeedback feedback([&](QKeyEvent& key, bool down) {
        const int code = keyCodeOf(key);
        if (down) {
            lighting.keyDown(code, options);
            if (exam.feedback.beepOnKey && !exam.finished() && !key.text().isEmpty() &&
                sound.beep) {
                sound.beep();
            }
        } else {
            lighting.keyUp(code, options);
        }
        keyboard.sync();
    });
    typing->installEventFilter(&feedback);

    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(original, 1);
    layout->addLayout(bar);
    layout->addWidget(typing, 1);
    layout->addWidget(keyboard.widget(), 0, Qt::AlignHCenter);
    window.resize(900, 820);

    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    SoundPlan plan;
    const auto planSound = [&] {
        const bool running = !exam.finished();
        const bool beating = running && metronome->isChecked();
        if (beating && !beat.isActive()) {
            beat.start(exam.feedback.metronomeMs);
            ++plan.beatRestarts;
        } else if (!beating) {
            beat.stop();
        }
        plan.beepsSoon = running && exam.feedback.beepOnKey;
        plan.beatMilliseconds = beating ? exam.feedback.metronomeMs : 0;
        if (sound.plan) {
            sound.plan(plan);
        }
    };
    QObject::connect(&beat, &QTimer::timeout, &window, [&] {
        if (sound.beat) {
            sound.beat();
        }
    });
    QObject::connect(metronome, &QPushButton::toggled, &window, [&] {
        planSound();
        typing->setFocus();
    });

    QTimer timer;
    const auto finish = [&] {
        timer.stop();
        metronome->setEnabled(false);
        planSound();
        typing->setReadOnly(true);
        note->setText(kTimeUp);
        stop->setText(kShowResult);
    };
    // The typing area is the record: every change, a key, Backspace, a dead key's letter or an
    // input method's word, is the typed text as it now stands.
    QObject::connect(typing, &QPlainTextEdit::textChanged, &window, [&] {
        if (!exam.finished()) {
            exam.setTyped(typing->toPlainText());
        }
    });
    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        if (exam.tick()) {
            finish();
        }
        clock->setText(exam.clockText());
    });
    QObject::connect(stop, &QPushButton::clicked, &window, [&] {
        exam.stop();
        planSound();
        window.accept();
    });
    timer.start(200);
    planSound();
    typing->setFocus();
    window.exec();
    // Closed by the window manager: the test is over all the same.
    exam.stop();
    planSound();
}

} // namespace tipora::ui
