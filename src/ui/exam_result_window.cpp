#include "ui/exam_result_window.h"

#include "app/platform.h"
#include "app/texts.h"
#include "exam/exam_texts.h"
#include "ui/document_printing.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

namespace tipora::ui {

namespace {

const QString kSavePdf = QStringLiteral("Uložit jako PDF…");
const QString kPrint = QStringLiteral("Tisk…");
const QString kClose = QStringLiteral("Zavřít");
const QString kPdfFilter = QStringLiteral("Dokumenty PDF (*.pdf)");
const QString kPdfDefaultName = QStringLiteral("opis.pdf");
QString pdfNotWritten(const QString& path) {
    return QStringLiteral("Soubor %1 se nepodařilo uložit.").arg(path);
}

} // namespace

ExamResultWindow::ExamResultWindow(ExamSheet sheet, Platform& platform, QWidget* parent)
    : QDialog(parent), sheet_(std::move(sheet)), platform_(platform), locale_(platform.locale()) {
    setObjectName(QStringLiteral("frmVysledekOpisu"));
    setWindowTitle(texts::kSheetTitle);
    if (!sheet_.when.isValid()) {
        sheet_.when = QDateTime::currentDateTime();
    }
    auto* figures = new QGridLayout;
    int row = 0;
    for (const auto& [label, value] : figureRows(sheet_.figures, locale_)) {
        figures->addWidget(new QLabel(label, this), row, 0);
        auto* shown = new QLabel(QStringLiteral("<b>%1</b>").arg(value.toHtmlEscaped()), this);
        shown->setObjectName(QStringLiteral("lblHodnota%1").arg(row));
        figures->addWidget(shown, row++, 1);
    }
    auto* transcript = new QTextBrowser(this);
    transcript->setObjectName(QStringLiteral("txtOznaceno"));
    transcript->setHtml(markedTranscriptHtml(sheet_.marks) +
                        QStringLiteral("<p><small>%1</small></p>").arg(texts::kLegend));

    auto* save = new QPushButton(kSavePdf, this);
    save->setObjectName(QStringLiteral("cmdPdf"));
    auto* print = new QPushButton(kPrint, this);
    print->setObjectName(QStringLiteral("cmdTisk"));
    auto* close = new QPushButton(kClose, this);
    close->setObjectName(QStringLiteral("cmdZavrit"));
    close->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = choosePdfFile ? choosePdfFile() : QString();
        if (!path.isEmpty()) {
            savePdf(path);
        }
    });
    connect(print, &QPushButton::clicked, this, &ExamResultWindow::print);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    choosePdfFile = [this] {
        return QFileDialog::getSaveFileName(this, kSavePdf, QDir::home().filePath(kPdfDefaultName),
                                            kPdfFilter);
    };

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* title = new QLabel(QStringLiteral("<h2>%1</h2>").arg(sheet_.title.toHtmlEscaped()), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(figures);
    layout->addWidget(transcript, 1);
    layout->addLayout(buttons);
    resize(760, 640);
}

bool ExamResultWindow::savePdf(const QString& path) {
    const bool written = writeHtmlPdf(resultSheetHtml(sheet_, locale_), path);
    if (!written) {
        platform_.messageBox(pdfNotWritten(path), texts::kMessageTitle, MessageButtons::Ok);
    }
    return written;
}

void ExamResultWindow::print() {
    printHtml(resultSheetHtml(sheet_, locale_), this);
}

} // namespace tipora::ui
