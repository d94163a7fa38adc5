#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace tipora {

// How the statistics labels show their values.

// Plain decimal digits: no grouping, no leading zeros.
QString counterText(int value);

// Errors per line: whole numbers without a separator, otherwise one decimal with the locale's
// separator ("1,3" in Czech).
QString errorsPerLineText(float value, const QLocale& locale);

// Lesson time is a duration: hours (unbounded), minutes and seconds, never an AM/PM marker.
QString lessonTimeText(qint64 seconds, const QLocale& locale);

// The time of day in the locale's long time format, without a time zone name.
QString timeOfDayText(const QTime& time, const QLocale& locale);

// What a label or text box draws of a long text. A window never shows more than a few hundred
// characters of a line, nor more than a few screens of text, but laying out a megabyte-long line
// froze it for minutes; so each line is cut at kMaxShownLineLength characters and the whole at
// about kMaxShownLength. The text itself is left whole: only its drawing is limited.
inline constexpr qsizetype kMaxShownLineLength = 512;
inline constexpr qsizetype kMaxShownLength = 32 * 1024;
enum class KeptPart { Beginning, End };
QString shownPart(const QString& text, KeptPart kept);

} // namespace tipora
