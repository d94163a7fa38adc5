#pragma once

#include "history/lesson_result.h"

#include <QByteArray>
#include <QList>

namespace tipora {

// The results as a Czech spreadsheet opens them without asking: UTF-8 with its byte order mark
// (without it the spreadsheet guesses Windows-1250), a header line, semicolons between fields,
// decimal commas, dates as day.month.year and CR LF line ends.
QByteArray resultsCsv(const QList<LessonResult>& results);

} // namespace tipora
