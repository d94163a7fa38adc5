#include "history/results_csv.h"

#include <QTest>

using namespace tipora;

class TestResultsCsv : public QObject {
    Q_OBJECT

private slots:
    void bytesAsACzechSpreadsheetReadsThem() {
        LessonResult signs;
        signs.when = QDateTime(QDate(2026, 12, 7), QTime(18, 5, 9));
        signs.lesson = 48;
        signs.caption = QStringLiteral("? ! : ; \" ( ) /");
        signs.keyboardType = 2;
        signs.seconds = 3723;
        signs.keystrokes = 236;
        signs.errors = 4;
        signs.lines = 3;
        signs.keystrokesPerMinute = 142;
        signs.errorsPerLine = 1.3;
        signs.finished = true;

        LessonResult home;
        home.when = QDateTime(QDate(2027, 1, 1), QTime(8, 0, 0));
        home.lesson = 3;
        home.caption = QStringLiteral("a ů");
        home.keyboardType = 1;
        home.seconds = 65;
        home.keystrokes = 17;
        home.errors = 0;
        home.lines = 1;
        home.keystrokesPerMinute = 16;
        home.errorsPerLine = 0.0;
        home.finished = false;

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
