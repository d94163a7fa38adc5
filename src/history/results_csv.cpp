#include "history/results_csv.h"

#include "history/history_texts.h"

#include <QStringList>

namespace tipora {

QString csvField(QString field) {
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

QString csvDecimal(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString csvDateTime(const QDateTime& when) {
    return when.toLocalTime().toString(QStringLiteral("d.M.yyyy H:mm:ss"));
}

QByteArray csvDocument(const QString& header, const QList<QStringList>& rows) {
    QByteArray csv("\xEF\xBB\xBF");
    csv += header.toUtf8() + "\r\n";
    for (const QStringList& fields : rows) {
        csv += fields.join(QLatin1Char(';')).toUtf8() + "\r\n";
    }
    return csv;
}

namespace {

QString duration(int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QByteArray resultsCsv(const QList<LessonResult>& results) {
    QList<QStringList> rows;
    rows.reserve(results.size());
    for (const LessonResult& r : results) {
        rows.append({
            csvDateTime(r.when),
            QString::number(r.lesson),
            csvField(r.caption),
            r.keyboardType == 2 ? texts::kKeyboardQwerty : texts::kKeyboardQwertz,
            duration(r.seconds),
            QString::number(r.keystrokes),
            QString::number(r.errors),
            QString::number(r.lines),
            QString::number(r.keystrokesPerMinute),
            csvDecimal(r.errorsPerLine, 1),
            r.finished ? texts::kYes : texts::kNo,
        });
    }
    return csvDocument(texts::kCsvHeader, rows);
}

} // namespace tipora
