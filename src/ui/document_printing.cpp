#include "ui/document_printing.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace tipora::ui {

bool writeHtmlPdf(const QString& html, const QString& path, QPageLayout::Orientation orientation) {
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(part);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(orientation);
        QTextDocument document;
        document.setHtml(html);
        document.print(&printer);
    }
    const bool written = QFileInfo(part).size() > 0 &&
                         (!QFile::exists(path) || QFile::remove(path)) && QFile::rename(part, path);
    if (!written) {
        QFile::remove(part);
    }
    return written;
}

void printHtml(const QString& html, QWidget* parent, QPageLayout::Orientation orientation) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

} // namespace tipora::ui
