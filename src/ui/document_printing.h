#pragma once

#include <QPageLayout>
#include <QString>

class QWidget;

namespace tipora::ui {

// An HTML page as an A4 PDF at path. It is written beside the target first and moved into place:
// QPrinter says nothing of a file it could not write, and a page saved over an older one must not
// leave the older one there looking saved. False when it could not be written.
bool writeHtmlPdf(const QString& html, const QString& path,
                  QPageLayout::Orientation orientation = QPageLayout::Portrait);
// Asks for a printer, offering the orientation given, and prints the page on it; nothing when
// the dialog is cancelled.
void printHtml(const QString& html, QWidget* parent,
               QPageLayout::Orientation orientation = QPageLayout::Portrait);

} // namespace tipora::ui
