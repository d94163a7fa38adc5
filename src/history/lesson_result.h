#pragma once

#include <QDateTime>
#include <QString>

namespace tipora {

// What one lesson leaves in the history: its own share of the counters, not the running totals
// the main window shows.
struct LessonResult {
    QDateTime when; // when the lesson ended, to the second; read back as UTC
    int lesson = 0; // 1 … 50
    QString caption;
    int keyboardType = 1; // 1 "česká", 2 "česká (QWERTY)"
    int seconds = 0;      // the lesson's own typing time
    int keystrokes = 0;
    int errors = 0;
    int lines = 0;
    int keystrokesPerMinute = 0;
    double errorsPerLine = 0.0; // one decimal
    bool finished = false;      // the lesson ran to its end rather than being stopped

    friend bool operator==(const LessonResult&, const LessonResult&) = default;
};

} // namespace tipora
