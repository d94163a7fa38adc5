#include "ground/lesson_catalogue.h"

#include <QTest>
#include <map>

using namespace tipora;

class TestLessonCatalogue : public QObject {
    Q_OBJECT

private slots:
    void lessonsAreNumberedInOrderAndGroupedBySubmenu() {
        std::map<Submenu, int> perSubmenu;
        for (int i = 0; i < kLessonCount; ++i) {
            QCOMPARE(kLessons[static_cast<std::size_t>(i)].number, i + 1);
            ++perSubmenu[kLessons[static_cast<std::size_t>(i)].submenu];
        }
        QCOMPARE(perSubmenu[Submenu::SPR], 4);
        QCOMPARE(perSubmenu[Submenu::HPR], 12);
        QCOMPARE(perSubmenu[Submenu::DPR], 14);
        QCOMPARE(perSubmenu[Submenu::VP], 3);
        QCOMPARE(perSubmenu[Submenu::CR], 14);
        QCOMPARE(perSubmenu[Submenu::ZZC], 3);
        QCOMPARE(lesson(31).submenu, Submenu::VP);
        QCOMPARE(lesson(48).submenu, Submenu::ZZC);
    }

    void namesFilesAndHeaders_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("file");
        QTest::newRow("1") << 1 << "mnuLekce01"
                           << "LEKCE 01"
                           << "cz01.dat";
        QTest::newRow("5") << 5 << "mnuLekce05"
                           << "LEKCE 05"
                           << "cz01.dat";
        QTest::newRow("6") << 6 << "mnuLekce06"
                           << "LEKCE 06"
                           << "cz02.dat";
        QTest::newRow("20") << 20 << "mnuLekce20"
                            << "LEKCE 20"
                            << "cz04.dat";
        QTest::newRow("46") << 46 << "mnuLekce46"
                            << "LEKCE 46"
                            << "cz10.dat";
        QTest::newRow("50") << 50 << "mnuLekce50"
                            << "LEKCE 50"
                            << "cz10.dat";
    }

    void namesFilesAndHeaders() {
        QFETCH(int, number);
        QFETCH(QString, menu);
        QFETCH(QString, header);
        QFETCH(QString, file);
        QCOMPARE(lessonMenuName(number), menu);
        QCOMPARE(lessonHeader(number), header);
        QCOMPARE(lessonExerciseFile(number), file);
    }

    void captionsKeepTheirExactText() {
        QCOMPARE(lessonCaption(7), QStringLiteral("opakování"));
        QCOMPARE(lessonCaption(50), QStringLiteral("° % § ")); // trailing blank kept
        QCOMPARE(lessonCaption(48).split(u' ').size(), 8);
        int revisions = 0;
        for (int n = 1; n <= kLessonCount; ++n) {
            revisions += lessonCaption(n) == QStringLiteral("opakování") ? 1 : 0;
        }
        QCOMPARE(revisions, 16);
    }

    void baseMarkingNeverGoesBack() {
        int previous = 0;
        for (const LessonDef& def : kLessons) {
            QVERIFY(def.baseMarking >= previous && def.baseMarking <= 9);
            previous = def.baseMarking;
        }
        QCOMPARE(lesson(5).baseMarking, 0);
        QCOMPARE(lesson(6).baseMarking, 1);
        QCOMPARE(lesson(50).baseMarking, 9);
    }
};

QTEST_GUILESS_MAIN(TestLessonCatalogue)
#include "test_lesson_catalogue.moc"
