#include "app/display_rules.h"

#include <QTest>

using namespace tipora;

class TestDisplayRules : public QObject {
    Q_OBJECT

private slots:
    void longTextsAreDrawnInPart() {
        // Short texts are drawn whole.
        const QString description = QStringLiteral("Vítej!\r\nNa f a j nahmatáš výstupky.");
        QCOMPARE(shownPart(description, KeptPart::Beginning), description);

        // A megabyte line shows its start, cut at the longest line drawn.
        const QString line = QString(1024 * 1024, QLatin1Char('x')) + QStringLiteral("\r\nb");
        const QString start = shownPart(line, KeptPart::Beginning);
        QCOMPARE(start, QString(kMaxShownLineLength, QLatin1Char('x')) + QStringLiteral("\r\nb"));

        // Many lines: whole lines up to the limit, from the beginning or from the end.
        QStringList lines;
        for (int i = 0; i < 20000; ++i) {
            lines << QStringLiteral("line %1").arg(i, 5, 10, QLatin1Char('0'));
        }
        const QString transcript = lines.join(QStringLiteral("\r\n"));
        const QString first = shownPart(transcript, KeptPart::Beginning);
        const QString last = shownPart(transcript, KeptPart::End);
        for (const QString& part : {first, last}) {
            QVERIFY(part.size() <= kMaxShownLength);
            QVERIFY(part.size() > kMaxShownLength - 20);
        }
        QVERIFY(first.startsWith(QStringLiteral("line 00000\r\n")));
        QVERIFY(last.endsWith(QStringLiteral("\r\nline 19999")));
        // The end starts at a whole line.
        QVERIFY(last.startsWith(QStringLiteral("line ")));
        QVERIFY(transcript.endsWith(last));
        // Empty lines, with either line end, are lines too.
        const QString blank(kMaxShownLength * 2, QLatin1Char('\n'));
        QCOMPARE(shownPart(blank + QStringLiteral("z"), KeptPart::End).size(), kMaxShownLength);
    }

    void countersArePlainDigits() {
        QCOMPARE(counterText(0), QStringLiteral("0"));
        QCOMPARE(counterText(17), QStringLiteral("17"));
        QCOMPARE(counterText(236), QStringLiteral("236"));
        QCOMPARE(counterText(12345), QStringLiteral("12345")); // no digit grouping
    }

    void errorsPerLine_data() {
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::addColumn<float>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0.0F << czech << "0";
        QTest::newRow("whole") << 1.0F << czech << "1";
        QTest::newRow("4 errors in 3 lines") << 1.3F << czech << "1,3";
        QTest::newRow("1 error in 4 lines") << 0.3F << czech << "0,3";
        QTest::newRow("English separator") << 1.3F << english << "1.3";
        QTest::newRow("large") << 1234.5F << czech << "1234,5";
    }

    void errorsPerLine() {
        QFETCH(float, value);
        QFETCH(QLocale, locale);
        QFETCH(QString, shown);
        QCOMPARE(errorsPerLineText(value, locale), shown);
    }

    void lessonTime_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start") << qint64{0} << "0:00:00";
        QTest::newRow("minute") << qint64{65} << "0:01:05";
        QTest::newRow("hour") << qint64{3723} << "1:02:03";
        QTest::newRow("last 16-bit second") << qint64{32767} << "9:06:07";
        QTest::newRow("past 16 bits") << qint64{32768} << "9:06:08";
        QTest::newRow("past a day") << qint64{90061} << "25:01:01";
    }

    void lessonTime() {
        QFETCH(qint64, seconds);
        QFETCH(QString, shown);
        QCOMPARE(lessonTimeText(seconds, QLocale(QLocale::Czech)), shown);
    }

    void lessonTimeIsADurationInAnyLocale() {
        // A 12-hour locale must not turn a duration into "12:01:05 AM".
        QCOMPARE(lessonTimeText(65, QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("0:01:05"));
        QCOMPARE(lessonTimeText(3723, QLocale(QLocale::Finnish)), QStringLiteral("1.02.03"));
    }

    void timeOfDayFollowsTheLocale() {
        const QTime time(9, 5, 7);
        QCOMPARE(timeOfDayText(time, QLocale(QLocale::Czech)), QStringLiteral("9:05:07"));
        const QString english =
            timeOfDayText(time, QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY2(english.startsWith(QStringLiteral("9:05:07")), qPrintable(english));
        QVERIFY2(english.contains(QStringLiteral("AM")), qPrintable(english));
        // A change of locale while the program runs shows at the next tick, and back again.
        QCOMPARE(timeOfDayText(time, QLocale(QLocale::Finnish)), QStringLiteral("9.05.07"));
        QCOMPARE(timeOfDayText(time, QLocale(QLocale::Czech)), QStringLiteral("9:05:07"));
    }
};

QTEST_GUILESS_MAIN(TestDisplayRules)
#include "test_display_rules.moc"
