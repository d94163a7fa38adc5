#include "ground/key_table.h"

#include <QString>
#include <QTest>
#include <map>
#include <set>

using namespace tipora;

namespace {
QString caption(int code) {
    const auto key = findKey(code);
    return key ? QString::fromUtf8(key->caption.data(), static_cast<qsizetype>(key->caption.size()))
               : QStringLiteral("<none>");
}
} // namespace

class TestKeyTable : public QObject {
    Q_OBJECT

private slots:
    void fiftyOneLabelsWithUniqueCodes() {
        std::set<int> codes;
        for (const KeyDef& key : kKeyTable) {
            codes.insert(key.code);
        }
        QCOMPARE(codes.size(), std::size_t{51});
        // Letters A to Z all have a label, under their upper-case codes.
        for (int code = 'A'; code <= 'Z'; ++code) {
            QVERIFY2(findKey(code).has_value(), qPrintable(QString(QChar(code))));
            QCOMPARE(caption(code), QString(QChar(code)).toLower());
        }
        // Digits 0 to 9 sit on the number row with the Czech letters as captions.
        for (int code = '0'; code <= '9'; ++code) {
            QCOMPARE(findKey(code)->top, 3960);
        }
        QCOMPARE(caption('2'), QStringLiteral("ě"));
        QCOMPARE(caption('0'), QStringLiteral("é"));
        QCOMPARE(caption(186), QStringLiteral("ů"));
        QCOMPARE(caption(222), QStringLiteral("§"));
        QCOMPARE(caption(187), QStringLiteral("´"));
        QCOMPARE(caption(kKeySpace), QString());
        QCOMPARE(caption(kKeyRightShift), QStringLiteral("Shift"));
        // Keys the course never teaches have no label.
        for (int code : {9, 8, 17, 18, 19, 112, 96, 226}) {
            QVERIFY(!findKey(code).has_value());
        }
        // Enter is the only label below the Shift code: the whitening of codes 16 … 1016
        // leaves it alone.
        int below16 = 0;
        for (const KeyDef& key : kKeyTable) {
            below16 += key.code < kKeyShift ? 1 : 0;
        }
        QCOMPARE(below16, 1);
    }

    void rowsHaveTheirCountsAndOverlappingBorders() {
        std::map<int, std::vector<KeyDef>> rows;
        for (const KeyDef& key : kKeyTable) {
            rows[key.top].push_back(key);
        }
        QCOMPARE(rows.size(), std::size_t{5});
        QCOMPARE(rows[3960].size(), std::size_t{13});
        QCOMPARE(rows[4440].size(), std::size_t{13});
        QCOMPARE(rows[4920].size(), std::size_t{12});
        QCOMPARE(rows[5400].size(), std::size_t{12});
        QCOMPARE(rows[5880].size(), std::size_t{1});
        for (auto& [top, row] : rows) {
            for (std::size_t i = 1; i < row.size(); ++i) {
                const KeyDef& left = row[i - 1];
                const KeyDef& right = row[i];
                if (right.code == kKeyEnter) {
                    continue; // Enter reaches under ")" to make the L shape
                }
                QVERIFY2(right.left == left.left + left.width - 15,
                         qPrintable(QStringLiteral("%1 after %2").arg(right.code).arg(left.code)));
            }
        }
    }

    void wideKeys() {
        QCOMPARE(findKey(kKeyEnter)->width, 855);
        QCOMPARE(findKey(kKeyEnter)->height, 975);
        QCOMPARE(findKey(kKeyCapsLock)->width, 855);
        QCOMPARE(findKey(kKeyShift)->width, 1095);
        QCOMPARE(findKey(kKeyRightShift)->width, 1095);
        QCOMPARE(findKey(kKeySpace)->width, 2775);
        // ")" lies over the upper left corner of Enter.
        const KeyDef paren = *findKey(kKeyCloseParen);
        const KeyDef enter = *findKey(kKeyEnter);
        QVERIFY(paren.left < enter.left && paren.left + paren.width > enter.left);
        QCOMPARE(paren.top, enter.top);
    }

    void qwertyMoveSwapsYandZExactly() {
        const KeyDef y = *findKey(kKeyY);
        const KeyDef z = *findKey(kKeyZ);
        QCOMPARE(y.left + kQwertyYMoveRight, z.left);
        QCOMPARE(y.top + kQwertyYMoveDown, z.top);
        // After the move "y" stands between "t" and "u".
        QCOMPARE(y.left + kQwertyYMoveRight, findKey('T')->left + 480);
        QCOMPARE(findKey('U')->left - 480, y.left + kQwertyYMoveRight);
    }
};

QTEST_GUILESS_MAIN(TestKeyTable)
#include "test_key_table.moc"
