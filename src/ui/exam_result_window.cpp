#include "ui/exam_result_window.h"

#include "app/platform.h"
#include "app/texts.h"
#include "exam/exam_texts.h"

#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>

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
    // Written beside the target first: QPrinter says nothing of a file it could not write, and a
    // sheet saved over an older one must not leave the older one there looking saved.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(part);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QTextDocument document;
        document.setHtml(resultSheetHtml(sheet_, locale_));
        document.print(&printer);
    }
    const bool written = QFileInfo(part).size() > 0 &&
                         (!QFile::exists(path) || QFile::remove(path)) && QFile::rename(part, path);
    if (!written) {
        QFile::remove(part);
        platform_.messageBox(pdfNotWritten(path), texts::kMessageTitle, MessageButtons::Ok);
    }
    return written;
}

void ExamResultWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QTextDocument document;
    document.setHtml(resultSheetHtml(sheet_, locale_));
    document.print(&printer);
}

} // namespace tipora::ui
