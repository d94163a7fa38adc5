#include "history/results_csv.h"

#include <QTest>

using namespace tipora;

namespace {

LessonResult result(const QDateTime& when, int lesson, const QString& caption, int keyboardType,
                    int seconds, int keystrokes, int errors, int lines, int perMinute,
                    double errorsPerLine, bool finished) {
    return {when,  lesson,    caption,       keyboardType, seconds, keystrokes, errors,
            lines, perMinute, errorsPerLine, finished,     {},      {},         {}};
}

} // namespace

class TestResultsCsv : public QObject {
    Q_OBJECT

private slots:
    void bytesAsACzechSpreadsheetReadsThem() {
        const LessonResult signs =
            result(QDateTime(QDate(2026, 12, 7), QTime(18, 5, 9)), 48,
                   QStringLiteral("? ! : ; \" ( ) /"), 2, 3723, 236, 4, 3, 142, 1.3, true);
        const LessonResult home = result(QDateTime(QDate(2027, 1, 1), QTime(8, 0, 0)), 3,
                                         QStringLiteral("a ů"), 1, 65, 17, 0, 1, 16, 0.0, false);

        LessonResult formula = home;
        formula.caption = QStringLiteral("=1;1");

        const QByteArray expected =
            "\xEF\xBB\xBF"
            "Datum;Lekce;N\xC3\xA1zev lekce;Kl\xC3\xA1vesnice;\xC4\x8C"
            "as;\xC3\x9Ahozy;Chyby;\xC5\x98\xC3\xA1\x64ky;\xC3\x9Ahoz\xC5\xAF za minutu;"
            "Chyb na \xC5\x99\xC3\xA1\x64\x65k;Dokon\xC4\x8D\x65na\r\n"
            "7.12.2026 18:05:09;48;\"? ! : ; \"\" ( ) /\";\xC4\x8D\x65sk\xC3\xA1 (QWERTY);1:02:03;"
            "236;4;3;142;1,3;ano\r\n"
            "1.1.2027 8:00:00;3;a \xC5\xAF;\xC4\x8D\x65sk\xC3\xA1;0:01:05;17;0;1;16;0,0;ne\r\n"
            "1.1.2027 8:00:00;3;\"'=1;1\";\xC4\x8D\x65sk\xC3\xA1;0:01:05;17;0;1;16;0,0;ne\r\n";
        QCOMPARE(resultsCsv({signs, home, formula}), expected);
    }

    void anEmptyHistoryIsItsHeaderLine() {
        const QByteArray csv = resultsCsv({});
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"
                               "Datum;"));
        QCOMPARE(csv.count("\r\n"), 1);
        QVERIFY(csv.endsWith("Dokon\xC4\x8D\x65na\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestResultsCsv)
#include "test_results_csv.moc"
