#include "app/frm_tipora_form.h"
#include "ground/key_table.h"
#include "keyboard/key_marking.h"

#include <QTest>
#include <set>

using namespace tipora;

namespace {

std::set<int> withColor(const KeyLabels& keys, Color color) {
    std::set<int> codes;
    for (const auto& [code, label] : keys) {
        if (label.back == color) {
            codes.insert(code);
        }
    }
    return codes;
}

std::set<int> codes(std::initializer_list<int> list) {
    return std::set<int>(list);
}

} // namespace

class TestKeyMarking : public QObject {
    Q_OBJECT

private slots:
    void stagesBuildTheirGreenSets_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("greens");
        const int sizes[] = {12, 18, 22, 24, 29, 31, 35, 38, 42};
        for (int stage = 1; stage <= 9; ++stage) {
            QTest::addRow("OznaceniKlaves0%d", stage) << stage << sizes[stage - 1];
        }
    }

    void stagesBuildTheirGreenSets() {
        QFETCH(int, stage);
        QFETCH(int, greens);
        FrmTiporaForm form;
        for (auto& [code, label] : form.lblKlavesa) {
            label.back = kRed; // whatever an earlier lesson left
        }
        form.lblKlavesa.at(kKeyEnter).back = kWhite;
        OznaceniKlaves(stage, form.lblKlavesa);
        QCOMPARE(withColor(form.lblKlavesa, kGreen).size(), std::size_t(greens));
        QVERIFY(withColor(form.lblKlavesa, kRed).empty());
        // Never in any stage: space, Enter, Caps Lock and the sign keys.
        for (int code : {32, 13, 20, 192, 49, 189, 187, 221, 222}) {
            QVERIFY(form.lblKlavesa.at(code).back != kGreen);
        }
    }

    void stagesHoldTheRightKeys() {
        FrmTiporaForm form;
        OznaceniKlaves(1, form.lblKlavesa);
        QCOMPARE(withColor(form.lblKlavesa, kGreen),
                 codes({'A', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 'S', 186, 'R', 'U'}));
        OznaceniKlaves(6, form.lblKlavesa);
        std::set<int> sixth = withColor(form.lblKlavesa, kGreen);
        for (int c = 'A'; c <= 'Z'; ++c) {
            QVERIFY(sixth.count(c) == 1);
        }
        QVERIFY(sixth.count(186) && sixth.count(219) && sixth.count(188) && sixth.count(190) &&
                sixth.count(191));
        OznaceniKlaves(7, form.lblKlavesa);
        QVERIFY(form.lblKlavesa.at(1016).back == kGreen && form.lblKlavesa.at(16).back == kGreen);
        QVERIFY(form.lblKlavesa.at(53).back == kGreen && form.lblKlavesa.at(56).back == kGreen);
        OznaceniKlaves(9, form.lblKlavesa);
        for (int code : {48, 50, 51, 52, 53, 54, 55, 56, 57}) {
            QCOMPARE(form.lblKlavesa.at(code).back, kGreen);
        }
    }

    void newKeysAreRed_data() {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<QList<int>>("red");
        QTest::addColumn<int>("greens");
        QTest::newRow("1") << 1 << QList<int>{'D', 'F', 'J', 'K'} << 0;
        QTest::newRow("2") << 2 << QList<int>{'L', 'S'} << 4;
        QTest::newRow("5") << 5 << QList<int>{'R', 'U'} << 10;
        QTest::newRow("6") << 6 << QList<int>{'E', 'I', 188} << 12;
        QTest::newRow("13") << 13 << QList<int>{'Q', 219} << 20;
        QTest::newRow("22") << 22 << QList<int>{'W', 'X', 191} << 25;
        QTest::newRow("31") << 31 << QList<int>{16} << 31;
        QTest::newRow("32") << 32 << QList<int>{1016} << 32;
        QTest::newRow("35") << 35 << QList<int>{56} << 34;
        QTest::newRow("46") << 46 << QList<int>{187} << 42;
        QTest::newRow("47") << 47 << QList<int>{20} << 43;
        QTest::newRow("48") << 48 << QList<int>{192, 221} << 44;
        QTest::newRow("50") << 50 << QList<int>{189, 222} << 47;
    }

    void newKeysAreRed() {
        QFETCH(int, lesson);
        QFETCH(QList<int>, red);
        QFETCH(int, greens);
        FrmTiporaForm form;
        markLesson(lesson, form.lblKlavesa);
        QCOMPARE(withColor(form.lblKlavesa, kRed), std::set<int>(red.begin(), red.end()));
        QCOMPARE(withColor(form.lblKlavesa, kGreen).size(), std::size_t(greens));
        QCOMPARE(form.lblKlavesa.at(kKeyEnter).back, kWhite);
        QCOMPARE(form.lblKlavesa.at(kKeySpace).back, kWhite);
    }

    void revisionLessonsShowNoRedKey() {
        for (int lesson : {7, 10, 14, 15, 16, 19, 20, 24, 25, 26, 29, 30, 33, 36, 39, 43}) {
            FrmTiporaForm form;
            markLesson(lesson, form.lblKlavesa);
            QVERIFY2(withColor(form.lblKlavesa, kRed).empty(), qPrintable(QString::number(lesson)));
        }
    }

    void eachMarkingStartsFromAWhiteKeyboard() {
        FrmTiporaForm form;
        markLesson(13, form.lblKlavesa);
        markLesson(10, form.lblKlavesa);
        QVERIFY(withColor(form.lblKlavesa, kRed).empty());
        QCOMPARE(withColor(form.lblKlavesa, kGreen).size(), std::size_t{18});
        QCOMPARE(withColor(form.lblKlavesa, kWhite).size(), std::size_t{51 - 18});
    }

    void stoppingWhitensEveryKeyButEnterAndBlackensText() {
        FrmTiporaForm form;
        markLesson(50, form.lblKlavesa);
        form.lblKlavesa.at('A').back = kBlack; // a lit key
        form.lblKlavesa.at('A').fore = kWhite;
        form.lblKlavesa.at(kKeyEnter).back = kBlack;
        clearKeyboard(form.lblKlavesa);
        for (const auto& [code, label] : form.lblKlavesa) {
            if (code == kKeyEnter) {
                QCOMPARE(label.back, kBlack); // below the cleared range
            } else {
                QCOMPARE(label.back, kWhite);
                QCOMPARE(label.fore, kBlack);
            }
        }
    }

    void keyNamesResolveToCodes() {
        QCOMPARE(keyCodes("a ů , LShift RShift CapsLock § ´"),
                 (std::vector<int>{'A', 186, 188, 16, 1016, 20, 222, 187}));
        QCOMPARE(keyCodes("nosuchkey"), std::vector<int>{});
    }
};

QTEST_GUILESS_MAIN(TestKeyMarking)
#include "test_key_marking.moc"
