#pragma once

#include "exam/exam_session.h"

#include <QDialog>
#include <functional>

namespace tipora {
class Platform;
}

namespace tipora::ui {

// The scored copy test: every figure, the grade where one applies, and the typed text marked
// against the original; its result sheet saved as PDF or printed.
class ExamResultWindow : public QDialog {
    Q_OBJECT

public:
    ExamResultWindow(ExamSheet sheet, Platform& platform, QWidget* parent = nullptr);

    // The result sheet as a PDF file; false (after a message) when it cannot be written.
    bool savePdf(const QString& path);
    // Asks where to save the PDF; an empty answer cancels. A file dialog unless replaced.
    std::function<QString()> choosePdfFile;

private:
    void print();

    ExamSheet sheet_;
    Platform& platform_;
    QLocale locale_;
};

} // namespace tipora::ui
