#include "ground/lesson_file.h"
#include "support/lesson_folder.h"

#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tipora;

namespace {
QStringList readAll(LessonFile& file) {
    QStringList lines;
    QString line;
    while (file.readLine(line)) {
        lines << line;
    }
    return lines;
}
} // namespace

class TestLessonFile : public QObject {
    Q_OBJECT

private slots:
    void lineEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QStringList abc{"a", "", "c"};
        QTest::newRow("CR LF") << QByteArray("a\r\n\r\nc\r\n") << abc;
        QTest::newRow("lone CR") << QByteArray("a\r\rc\r") << abc;
        QTest::newRow("lone LF") << QByteArray("a\n\nc\n") << abc;
        QTest::newRow("mixed") << QByteArray("a\r\n\nc") << abc;
        QTest::newRow("no end at the end") << QByteArray("a\r\n\r\nc") << abc;
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
    }

    void lineEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        test::LessonFolder folder;
        folder.writeBytes(QStringLiteral("x.dat"), bytes);
        LessonFile file;
        QVERIFY(file.open(folder.filePath(QStringLiteral("x.dat"))));
        QCOMPARE(readAll(file), lines);
        QVERIFY(file.atEnd());
    }

    void atEndComesWithTheLastLine() {
        test::LessonFolder folder;
        folder.writeBytes(QStringLiteral("x.dat"), "one\r\ntwo\r\n");
        LessonFile file;
        QVERIFY(file.open(folder.filePath(QStringLiteral("x.dat"))));
        QString line;
        QVERIFY(!file.atEnd());
        QVERIFY(file.readLine(line));
        QVERIFY(!file.atEnd());
        QVERIFY(file.readLine(line));
        QCOMPARE(line, QStringLiteral("two"));
        QVERIFY(file.atEnd());
        QVERIFY(!file.readLine(line));
        QCOMPARE(line, QStringLiteral("two")); // a failed read leaves the line alone
    }

    void decodesWindows1250() {
        test::LessonFolder folder;
        // "Žluťoučký kůň" in Windows-1250, and bytes that are not text at all.
        folder.writeBytes(QStringLiteral("x.dat"),
                          QByteArray("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n\x00\x81\xFF", 18));
        LessonFile file;
        QVERIFY(file.open(folder.filePath(QStringLiteral("x.dat"))));
        const QStringList lines = readAll(file);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Žluťoučký kůň"));
        QCOMPARE(lines[1].size(), 3);
    }

    void headerIsFoundAsAWholeLine() {
        test::LessonFolder folder;
        // Millions of empty lines before the header, and near-misses of it.
        QByteArray bytes(4 * 1024 * 1024, '\n');
        bytes += "xLEKCE 02\r\nLEKCE 021\r\nLEKCE 02 \r\nLEKCE 02\r\nfirst\r\nLEKCE 02";
        folder.writeBytes(QStringLiteral("x.dat"), bytes);
        LessonFile file;
        QVERIFY(file.open(folder.filePath(QStringLiteral("x.dat"))));
        QVERIFY(file.skipPastLine("LEKCE 02"));
        QString line;
        QVERIFY(file.readLine(line));
        QCOMPARE(line, QStringLiteral("first"));
        // The last line, with no line end.
        QVERIFY(file.skipPastLine("LEKCE 02"));
        QVERIFY(file.atEnd());
        QVERIFY(!file.skipPastLine("LEKCE 02"));

        // At the very start of the file.
        folder.writeBytes(QStringLiteral("y.dat"), "LEKCE 01\nx");
        QVERIFY(file.open(folder.filePath(QStringLiteral("y.dat"))));
        QVERIFY(file.skipPastLine("LEKCE 01"));
        QVERIFY(file.readLine(line));
        QCOMPARE(line, QStringLiteral("x"));
    }

    void onlyRegularFilesWithinTheLimitAreRead() {
        test::LessonFolder folder;
        LessonFile file;
        const QString big = folder.filePath(QStringLiteral("big.dat"));
        folder.writeBytes(QStringLiteral("big.dat"), "LEKCE 01\r\n");
        QVERIFY(QFile::resize(big, kMaxLessonFileBytes + 1));
        QVERIFY(!file.open(big));
        QCOMPARE(file.problem(), LessonFile::Problem::TooLarge);
        QVERIFY(QFile::resize(big, kMaxLessonFileBytes));
        QVERIFY(file.open(big));
        QCOMPARE(file.problem(), LessonFile::Problem::None);
#ifdef Q_OS_UNIX
        // A pipe would block the program until someone writes to it.
        const QString pipe = folder.filePath(QStringLiteral("pipe.dat"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!file.open(pipe));
        QCOMPARE(file.problem(), LessonFile::Problem::Missing);
        QVERIFY(!file.open(QStringLiteral("/dev/zero")));
#endif
    }

    void missingOrClosedFileHasNoLines() {
        LessonFile file;
        QVERIFY(file.atEnd());
        QVERIFY(!file.open(QStringLiteral("/nonexistent/cz01.dat")));
        QVERIFY(!file.isOpen());
        QString line;
        QVERIFY(!file.readLine(line));

        test::LessonFolder folder;
        folder.writeBytes(QStringLiteral("x.dat"), "a\r\n");
        QVERIFY(file.open(folder.filePath(QStringLiteral("x.dat"))));
        file.close();
        QVERIFY(file.atEnd());
        // A folder is not a lesson file.
        QVERIFY(!file.open(folder.path()));
    }
};

QTEST_GUILESS_MAIN(TestLessonFile)
#include "test_lesson_file.moc"
