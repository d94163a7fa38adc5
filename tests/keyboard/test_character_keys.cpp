#include "ground/key_table.h"
#include "keyboard/dead_keys.h"
#include "keyboard/demo_keys.h"

#include <QTest>

using namespace tipora;

class TestCharacterKeys : public QObject {
    Q_OBJECT

private slots:
    void demonstrationLightsTheKeyThatTypesACharacter_data() {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("shifted");
        QTest::newRow("small letter") << "a" << 65 << false;
        QTest::newRow("capital lights its letter, not Shift") << "A" << 65 << true;
        QTest::newRow("z") << "z" << 90 << false;
        QTest::newRow("space") << " " << 32 << false;
        QTest::newRow("ě on the 2 key") << "ě" << 50 << false;
        QTest::newRow("2 is ě with Shift") << "2" << 50 << true;
        QTest::newRow("é") << "é" << 48 << false;
        QTest::newRow("0") << "0" << 48 << true;
        QTest::newRow("°") << "°" << 192 << true;
        QTest::newRow("%") << "%" << 189 << true;
        QTest::newRow("/") << "/" << 219 << true;
        QTest::newRow("(") << "(" << 221 << true;
        QTest::newRow("ů") << "ů" << 186 << false;
        QTest::newRow("!") << "!" << 222 << true;
        QTest::newRow("?") << "?" << 188 << true;
        QTest::newRow(":") << ":" << 190 << true;
        QTest::newRow("_") << "_" << 191 << true;
    }

    void demonstrationLightsTheKeyThatTypesACharacter() {
        QFETCH(QString, character);
        QFETCH(int, code);
        QFETCH(bool, shifted);
        const KeyForCharacter key = keyForCharacter(character.front());
        QCOMPARE(key.code, code);
        QCOMPARE(key.shifted, shifted);
        QVERIFY(key.found);
        QVERIFY(findKey(code).has_value()); // every code of the table has a label
    }

    void charactersWithoutAKeyOfTheirOwnLightTheLeftShift() {
        for (QChar c : QStringLiteral("ČŘĚÁňťóď\"@*ß")) {
            const KeyForCharacter key = keyForCharacter(c);
            QVERIFY2(!key.found, qPrintable(QString(c)));
            QCOMPARE(demoKeyCode(c), kKeyShift);
        }
    }

    void deadKeysComposeCzechLetters() {
        QCOMPARE(composeDeadKey(DeadKey::Acute, u'a'), std::optional<QChar>(u'á'));
        QCOMPARE(composeDeadKey(DeadKey::Acute, u'O'), std::optional<QChar>(u'Ó'));
        QCOMPARE(composeDeadKey(DeadKey::Caron, u'n'), std::optional<QChar>(u'ň'));
        QCOMPARE(composeDeadKey(DeadKey::Caron, u'D'), std::optional<QChar>(u'Ď'));
        QCOMPARE(composeDeadKey(DeadKey::Caron, u'e'), std::optional<QChar>(u'ě'));
        // Letters the accent does not go with.
        QVERIFY(!composeDeadKey(DeadKey::Acute, u'n').has_value());
        QVERIFY(!composeDeadKey(DeadKey::Caron, u'a').has_value());
        QVERIFY(!composeDeadKey(DeadKey::Acute, u' ').has_value());

        const auto t = decomposeDeadKey(u'Ť');
        QVERIFY(t.has_value());
        QCOMPARE(t->dead, DeadKey::Caron);
        QCOMPARE(t->base, QChar(u'T'));
        QCOMPARE(decomposeDeadKey(u'ý')->dead, DeadKey::Acute);
        QVERIFY(!decomposeDeadKey(u'ů').has_value()); // its own key, no dead key
    }

    void composerTypesAsACzechKeyboardDoes_data() {
        QTest::addColumn<QString>("keys"); // ´ and ˇ stand for the dead keys
        QTest::addColumn<QString>("typed");
        QTest::newRow("´ a") << "´a"
                             << "á";
        QTest::newRow("ˇ n") << "ˇn"
                             << "ň";
        QTest::newRow("ˇ T") << "ˇT"
                             << "Ť";
        QTest::newRow("´ O") << "´O"
                             << "Ó";
        QTest::newRow("accent before a blank") << "´ "
                                               << "´";
        QTest::newRow("accent that does not compose") << "ˇa"
                                                      << "ˇa";
        QTest::newRow("accent before a sign") << "´,"
                                              << "´,";
        QTest::newRow("same dead key twice") << "´´x"
                                             << "´x";
        QTest::newRow("one dead key after the other") << "´ˇd"
                                                      << "´ď";
        QTest::newRow("plain text passes") << "ahoj"
                                           << "ahoj";
        QTest::newRow("only the next key") << "´oo"
                                           << "óo";
    }

    void composerTypesAsACzechKeyboardDoes() {
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        DeadKeyComposer composer;
        QString out;
        for (QChar key : keys) {
            if (key == kAcute || key == kCaron) {
                out += composer.deadKey(key == kAcute ? DeadKey::Acute : DeadKey::Caron);
            } else {
                out += composer.text(QString(key));
            }
        }
        QCOMPARE(out, typed);
    }

    void keysThatTypeNothingLeaveTheDeadKeyWaiting() {
        DeadKeyComposer composer;
        QCOMPARE(composer.deadKey(DeadKey::Caron), QString());
        QCOMPARE(composer.text(QString()), QString()); // Shift on its way to a capital
        QVERIFY(composer.pending());
        QCOMPARE(composer.text(QStringLiteral("D")), QStringLiteral("Ď"));
        QVERIFY(!composer.pending());
    }
};

QTEST_GUILESS_MAIN(TestCharacterKeys)
#include "test_character_keys.moc"
