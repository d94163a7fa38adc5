// The code page against the system's own converter, byte by byte and character by character.
#include "ground/windows1250.h"

#include <QStringDecoder>
#include <QTest>

using namespace tipora;

class TestWindows1250 : public QObject {
    Q_OBJECT

private slots:
    void everyByteDecodesAsTheSystemConverterHasIt() {
        QStringDecoder decoder("windows-1250");
        QVERIFY(decoder.isValid());
        for (int code = 0; code < 256; ++code) {
            const char byte = static_cast<char>(code);
            const QString expected = decoder.decode(QByteArrayView(&byte, 1));
            QCOMPARE(fromWindows1250(QByteArrayView(&byte, 1)), expected);
            // And back: the character typed is the code read from the lesson.
            QCOMPARE(windows1250Code(expected), code);
        }
    }

    void charactersThePageLacksMatchNothing() {
        // "à" and "ñ" are Western letters the Central European page has no room for.
        for (const QString& character :
             {QStringLiteral("à"), QStringLiteral("ñ"), QStringLiteral("中"),
              QStringLiteral("\uFFFD"), QStringLiteral("ab"), QString()}) {
            QCOMPARE(windows1250Code(character), -1);
        }
        QCOMPARE(windows1250Code(QStringLiteral("ů")), 0xF9);
        QCOMPARE(windows1250Code(QStringLiteral("€")), 0x80);
    }
};

QTEST_GUILESS_MAIN(TestWindows1250)
#include "test_windows1250.moc"
