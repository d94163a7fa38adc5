#include "history/results_csv.h"

#include "history/history_texts.h"

#include <QStringList>

namespace tipora {

namespace {

QString quoted(QString field) {
    // A text the spreadsheet would take for a formula stays a text.
    if (!field.isEmpty() && QStringLiteral("=+-@").contains(field.front())) {
        field.prepend(QLatin1Char('\''));
    }
    if (field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) ||
        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
        field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + field + QLatin1Char('"');
    }
    return field;
}

QString duration(int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QByteArray resultsCsv(const QList<LessonResult>& results) {
    QByteArray csv("\xEF\xBB\xBF");
    csv += texts::kCsvHeader.toUtf8() + "\r\n";
    for (const LessonResult& r : results) {
        const QStringList fields{
            r.when.toLocalTime().toString(QStringLiteral("d.M.yyyy H:mm:ss")),
            QString::number(r.lesson),
            quoted(r.caption),
            r.keyboardType == 2 ? texts::kKeyboardQwerty : texts::kKeyboardQwertz,
            duration(r.seconds),
            QString::number(r.keystrokes),
            QString::number(r.errors),
            QString::number(r.lines),
            QString::number(r.keystrokesPerMinute),
            QString::number(r.errorsPerLine, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')),
            r.finished ? texts::kYes : texts::kNo,
        };
        csv += fields.join(QLatin1Char(';')).toUtf8() + "\r\n";
    }
    return csv;
}

} // namespace tipora
