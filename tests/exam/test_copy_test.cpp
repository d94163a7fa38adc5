// A copy test scored by hand and by the program: strokes of a character, the word alignment's
// errors, the cut error rate, the grades, the files a teacher brings and the command line's
// answer.
#include "exam/copy_test.h"
#include "exam/score_command.h"
#include "ground/text_decoding.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tipora;

class TestCopyTest : public QObject {
    Q_OBJECT

private slots:
    void strokesOfACharacter() {
        // ó = ´ o; ď = ˇ (Shift ´) d; Ó and Ď add Shift to the letter; digits and " need Shift.
        const QString characters = QStringLiteral("aó\nď1ÓĎŘ\"'");
        const QList<int> strokes{1, 2, 1, 3, 2, 3, 4, 4, 2, 2};
        for (qsizetype i = 0; i < characters.size(); ++i) {
            QCOMPARE(characterStrokes(characters[i]), strokes[i]);
        }
    }

    void errorsAndFigures_data() {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("gross");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("rateHundredths");
        const QString a153(153, u'a');
        QTest::newRow("all right") << "Pes běží."
                                   << "Pes běží." << 10 << 0 << 0;
        QTest::newRow("a word typed differently") << "pes běžel lesem"
                                                  << "pes bežel lesem" << 15 << 1 << 666;
        QTest::newRow("two mistakes in one word") << "pes běžel lesem"
                                                  << "pes bezel lesem" << 15 << 1 << 666;
        QTest::newRow("a word left out") << "a b c d"
                                         << "a c d" << 5 << 1 << 2000;
        QTest::newRow("a word added") << "a b c"
                                      << "a b x c" << 7 << 1 << 1428;
        QTest::newRow("a line break missing") << "ab cd\nef"
                                              << "ab cd ef" << 8 << 1 << 1250;
        QTest::newRow("a line break added") << "ab cd ef"
                                            << "ab\ncd ef" << 8 << 1 << 1250;
        QTest::newRow("the tail not reached, its last word cut short") << "ab cd ef gh"
                                                                       << "ab cd e" << 7 << 0 << 0;
        // Typed words that stand further on in the text (or at its very end) are two wrong words
        // at the start, not everything before them left out.
        QTest::newRow("words of a later place typed at the start") << "ab cd ef gh ij kl"
                                                                   << "ij kl" << 5 << 2 << 4000;
        QTest::newRow("the last word typed is the text's last word") << "ab cd ef gh"
                                                                     << "xy gh" << 5 << 2 << 4000;
        QTest::newRow("the rate cut, not rounded: 1 in 155 is 0.645 %")
            << a153 + " b" << a153 + " c" << 155 << 1 << 64;
    }
    void errorsAndFigures() {
        QFETCH(QString, original);
        QFETCH(QString, typed);
        QFETCH(int, gross);
        QFETCH(int, errors);
        QFETCH(int, rateHundredths);
        const CopyTestFigures f = scoreCopyTest(original, typed, 1.0, 10);
        QCOMPARE(f.grossStrokes, gross);
        QCOMPARE(f.errors, errors);
        QCOMPARE(f.netStrokes, std::max(0, gross - 10 * errors));
        QCOMPARE(f.errorRateHundredths, rateHundredths);
        QCOMPARE(f.accuracyHundredths, 10000 - rateHundredths);
    }

    void gradesAtTheirBoundaries() {
        QCOMPARE(copyTestGrade(10, 10, 240, 15), 1);
        QCOMPARE(copyTestGrade(10, 10, 240, 16), 2);
        QCOMPARE(copyTestGrade(10, 10, 239.9, 15), 2);
        QCOMPARE(copyTestGrade(10, 10, 220, 30), 2);
        QCOMPARE(copyTestGrade(10, 10, 219.9, 30), 3);
        QCOMPARE(copyTestGrade(10, 10, 200, 50), 3);
        QCOMPARE(copyTestGrade(10, 10, 200, 51), 0);
        QCOMPARE(copyTestGrade(10, 10, 199.9, 0), 0);
        QCOMPARE(copyTestGrade(5, 10, 300, 0), std::nullopt);
        QCOMPARE(copyTestGrade(10, 50, 300, 0), std::nullopt);
    }

    void textFilesOfEitherEncoding() {
        QCOMPARE(decodeText("\xEF\xBB\xBFk\xC5\x99\xC3\xAD\r\nx").text, QStringLiteral("kří\nx"));
        const DecodedText old = decodeText("k\xF8\xED\rx");
        QVERIFY(!old.utf8);
        QCOMPARE(old.text, QStringLiteral("kří\nx"));
    }

    void theCommandLineScoresFilesOrNamesTheProblem() {
        QTemporaryDir dir;
        const QString original = dir.filePath(QStringLiteral("o.txt"));
        const QString typed = dir.filePath(QStringLiteral("t.txt"));
        for (const auto& [path, bytes] :
             {std::pair(original, QByteArray("P\xF8\xEDklad jde dob\xF8\x65.\r\n")),
              std::pair(typed, QByteArray("Příklad jde dobře.\n"))}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const ScoreRun run = runScore({QStringLiteral("tipora"), original, typed,
                                       QStringLiteral("0.5"), QStringLiteral("50"), true});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(run.output.toUtf8()).object();
        QCOMPARE(o.value(QStringLiteral("gross_strokes")).toInt(), 19);
        QCOMPARE(o.value(QStringLiteral("errors")).toInt(), 0);
        QCOMPARE(o.value(QStringLiteral("net_per_minute")).toDouble(), 38.0);
        QVERIFY(o.value(QStringLiteral("grade")).isNull());

        const ScoreRun missing =
            runScore({QStringLiteral("tipora"), original, dir.filePath(QStringLiteral("nic.txt"))});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.error.contains(QStringLiteral("nic.txt")));
    }
};

QTEST_GUILESS_MAIN(TestCopyTest)
#include "test_copy_test.moc"
