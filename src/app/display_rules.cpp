#include "app/display_rules.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tipora {

namespace {

// The locale's long time format with its time zone removed; the zone name says nothing to a
// learner and makes the label too wide.
QString timeFormatWithoutZone(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
    return format.trimmed();
}

QString timeSeparator(const QLocale& locale) {
    static const QRegularExpression separator(QStringLiteral("[Hh]+([^Hhms]+)m"));
    const auto match = separator.match(locale.timeFormat(QLocale::LongFormat));
    return match.hasMatch() ? match.captured(1) : QStringLiteral(":");
}

// The clocks are rewritten twice a second; reading the formats out of the locale with regular
// expressions each time cost more than everything else an idle window does. They change only
// with the locale.
struct TimeFormats {
    QLocale locale;
    QString timeOfDay;
    QString separator;
};

const TimeFormats& timeFormatsOf(const QLocale& locale) {
    thread_local TimeFormats cached{locale, timeFormatWithoutZone(locale), timeSeparator(locale)};
    if (!(cached.locale == locale)) {
        cached = {locale, timeFormatWithoutZone(locale), timeSeparator(locale)};
    }
    return cached;
}

} // namespace

QString counterText(int value) {
    return QString::number(value);
}

QString errorsPerLineText(float value, const QLocale& locale) {
    const auto tenths = static_cast<long long>(std::llround(static_cast<double>(value) * 10.0));
    if (tenths % 10 == 0) {
        return QString::number(tenths / 10);
    }
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(static_cast<double>(tenths) / 10.0, 'f', 1);
}

QString lessonTimeText(qint64 seconds, const QLocale& locale) {
    const qint64 total = std::max<qint64>(seconds, 0);
    const QString& sep = timeFormatsOf(locale).separator;
    return QStringLiteral("%1%2%3%4%5")
        .arg(total / 3600)
        .arg(sep)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(sep)
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString timeOfDayText(const QTime& time, const QLocale& locale) {
    return locale.toString(time, timeFormatsOf(locale).timeOfDay);
}

namespace {
bool isLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

QString shownPart(const QString& text, KeptPart kept) {
    if (text.size() <= kMaxShownLineLength) {
        return text; // nothing to cut: the usual case, and it shares the text
    }
    QStringView rest(text);
    if (kept == KeptPart::End && rest.size() > kMaxShownLength) {
        // Start at the first whole line of the last kMaxShownLength characters.
        qsizetype start = rest.size() - kMaxShownLength;
        const auto startsLine = [&rest](qsizetype at) {
            const QChar before = rest.at(at - 1);
            return before == QLatin1Char('\n') ||
                   (before == QLatin1Char('\r') && rest.at(at) != QLatin1Char('\n'));
        };
        while (start < rest.size() && !startsLine(start)) {
            ++start;
        }
        rest = rest.sliced(start);
    }
    QString shown;
    qsizetype pos = 0;
    while (pos < rest.size() && shown.size() < kMaxShownLength) {
        qsizetype end = pos;
        while (end < rest.size() && !isLineBreak(rest.at(end))) {
            ++end;
        }
        shown += rest.sliced(
            pos, std::min({end - pos, kMaxShownLineLength, kMaxShownLength - shown.size()}));
        while (end < rest.size() && isLineBreak(rest.at(end)) && shown.size() < kMaxShownLength) {
            shown += rest.at(end++);
        }
        pos = end;
    }
    return shown;
}

} // namespace tipora
