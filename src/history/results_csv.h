#pragma once

#include "history/lesson_result.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace tipora {

// The results as a Czech spreadsheet opens them without asking: UTF-8 with its byte order mark
// (without it the spreadsheet guesses Windows-1250), a header line, semicolons between fields,
// decimal commas, dates as day.month.year and CR LF line ends.
QByteArray resultsCsv(const QList<LessonResult>& results);

// The pieces of that export, for any other table written the same way.
// A field quoted where the spreadsheet would split it, and a text it would take for a formula
// kept a text.
QString csvField(QString field);
// "12,5": a decimal comma and a fixed number of decimals.
QString csvDecimal(double value, int decimals);
// Local time as day.month.year hours:minutes:seconds.
QString csvDateTime(const QDateTime& when);
// The byte order mark, then the header and the rows, each ended by CR LF. The fields must
// already be written by the functions above.
QByteArray csvDocument(const QString& header, const QList<QStringList>& rows);

} // namespace tipora
