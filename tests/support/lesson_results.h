#pragma once

#include "history/lesson_result.h"

#include <QLocale>
#include <QString>

namespace tipora::test {

// Every figure of a stored result on one line, so that one comparison checks them all and a
// failure shows which one is off.
inline QString figures(const LessonResult& r) {
    return QStringLiteral("lesson %1 \"%2\" keyboard %3 at %4: %5 keys %6 errors %7 lines %8 s "
                          "%9/min %10/line %11")
        .arg(r.lesson)
        .arg(r.caption)
        .arg(r.keyboardType)
        .arg(r.when.toLocalTime().toString(Qt::ISODate))
        .arg(r.keystrokes)
        .arg(r.errors)
        .arg(r.lines)
        .arg(r.seconds)
        .arg(r.keystrokesPerMinute)
        .arg(QString::number(r.errorsPerLine, 'g', QLocale::FloatingPointShortest))
        .arg(r.finished ? QStringLiteral("finished") : QStringLiteral("stopped"));
}

} // namespace tipora::test
