#include "ui/exam_window.h"

#include "exam/exam_session.h"
#include "exam/exam_texts.h"
#include "lessons/drill_texts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
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

void runExamWindow(ExamSession& exam, QWidget* parent) {
    QDialog window(parent);
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

    auto* typing = new QPlainTextEdit(&window);
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

    auto* bar = new QHBoxLayout;
    bar->addWidget(clock);
    bar->addWidget(note, 1);
    bar->addWidget(stop);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(original, 1);
    layout->addLayout(bar);
    layout->addWidget(typing, 1);
    window.resize(900, 700);

    QTimer timer;
    const auto finish = [&] {
        timer.stop();
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
        window.accept();
    });
    timer.start(200);
    typing->setFocus();
    window.exec();
}

} // namespace tipora::ui
