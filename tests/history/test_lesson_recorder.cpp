#include "history/lesson_recorder.h"
#include "history/results_store.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tipora;

namespace {

// Keeps results in memory; can be told to fail like a file that cannot be written.
class MemoryStore : public ResultsStore {
public:
    void prepare() override { ++prepared; }
    bool record(const LessonResult& result) override {
        ++attempts;
        if (broken) {
            failureText = QStringLiteral("broken");
            return false;
        }
        stored.prepend(result);
        return true;
    }
    QList<LessonResult> results() override { return stored; }
    bool clear() override {
        stored.clear();
        return true;
    }
    QString failure() const override { return failureText; }

    QList<LessonResult> stored;
    QString failureText;
    bool broken = false;
    int attempts = 0;
    int prepared = 0;
};

const QDateTime kEvening(QDate(2026, 12, 7), QTime(18, 5, 9));

} // namespace

class TestLessonRecorder : public QObject {
    Q_OBJECT

private slots:
    // Counters on screen add up over lessons until "Ano" clears them; each stored result is
    // the lesson's own share.
    void eachLessonKeepsItsOwnShare() {
        MemoryStore store;
        QDateTime at = kEvening;
        LessonRecorder recorder(store, [&at] { return at; });

        // Lesson 3 from a clean start: 240 keystrokes in 2 minutes, 5 errors in 4 lines.
        recorder.lessonStarted(3, {0, 0, 0, 0});
        QVERIFY(!recorder.lessonEnded({240, 5, 4, 120}, LessonEnd::Stopped, 1));
        // "Ne": lesson 4 goes on from those counters and adds 150 keystrokes in 50 s, 1 error
        // in 3 lines; the screen shows the totals, the history this lesson alone.
        recorder.lessonStarted(4, {240, 5, 4, 120});
        at = kEvening.addSecs(60);
        QVERIFY(!recorder.lessonEnded({390, 6, 7, 170}, LessonEnd::Finished, 2));
        // "Ano" cleared them before lesson 5 was chosen.
        recorder.lessonStarted(5, {0, 0, 0, 0});
        at = kEvening.addSecs(120);
        QVERIFY(!recorder.lessonEnded({61, 2, 2, 30}, LessonEnd::Stopped, 1));

        QCOMPARE(store.stored.size(), 3);
        const LessonResult& third = store.stored[2];
        QCOMPARE(third.lesson, 3);
        QCOMPARE(third.caption, QStringLiteral("a ů"));
        QCOMPARE(third.when, kEvening);
        QCOMPARE(third.keystrokes, 240);
        QCOMPARE(third.seconds, 120);
        QCOMPARE(third.keystrokesPerMinute, 120);
        QCOMPARE(third.errorsPerLine, 1.3); // 5 in 4 lines: 1.25 rounds up
        QVERIFY(!third.finished);
        QCOMPARE(third.keyboardType, 1);

        const LessonResult& fourth = store.stored[1];
        QCOMPARE(fourth.lesson, 4);
        QCOMPARE(fourth.when, kEvening.addSecs(60));
        QCOMPARE(fourth.caption, QStringLiteral("g h"));
        QCOMPARE(fourth.keystrokes, 150);
        QCOMPARE(fourth.errors, 1);
        QCOMPARE(fourth.lines, 3);
        QCOMPARE(fourth.seconds, 50);
        QCOMPARE(fourth.keystrokesPerMinute, 180);
        QCOMPARE(fourth.errorsPerLine, 0.3);
        QVERIFY(fourth.finished);
        QCOMPARE(fourth.keyboardType, 2);

        const LessonResult& fifth = store.stored[0];
        QCOMPARE(fifth.keystrokes, 61);
        QCOMPARE(fifth.keystrokesPerMinute, 122);
        QCOMPARE(fifth.errorsPerLine, 1.0);
    }

    void onlyTypedLessonsWithAClosedLineCount() {
        MemoryStore store;
        QDateTime at = kEvening;
        LessonRecorder recorder(store, [&at] { return at; });
        // Stopped before any line was closed: characters typed, nothing finished.
        recorder.lessonStarted(1, {100, 2, 5, 60});
        QVERIFY(!recorder.lessonEnded({130, 3, 5, 75}, LessonEnd::Stopped, 1));
        // A demonstration closes lines of its own, but they are not the learner's.
        recorder.lessonStarted(2, {130, 3, 5, 75});
        QVERIFY(!recorder.lessonEnded({130, 3, 5, 75}, LessonEnd::Demonstration, 1));
        recorder.lessonStarted(2, {0, 0, 0, 0});
        QVERIFY(!recorder.lessonEnded({500, 0, 9, 100}, LessonEnd::Demonstration, 1));
        // An end without a lesson chosen, and a second end of the same lesson.
        QVERIFY(!recorder.lessonEnded({600, 0, 10, 110}, LessonEnd::Stopped, 1));
        recorder.lessonStarted(2, {0, 0, 0, 0});
        QVERIFY(!recorder.lessonEnded({20, 0, 1, 10}, LessonEnd::Finished, 1));
        QVERIFY(!recorder.lessonEnded({40, 0, 2, 20}, LessonEnd::Finished, 1));
        QCOMPARE(store.attempts, 1);
        QCOMPARE(store.stored.size(), 1);
        QCOMPARE(store.stored[0].keystrokes, 20);
        // Closed lines in no time at all (under a second): no speed rather than a division by 0.
        recorder.lessonStarted(9, {0, 0, 0, 0});
        QVERIFY(!recorder.lessonEnded({10, 0, 1, 0}, LessonEnd::Finished, 1));
        QCOMPARE(store.stored[0].keystrokesPerMinute, 0);
    }

    void aFailingStoreIsReportedOnce() {
        MemoryStore store;
        store.broken = true;
        QDateTime at = kEvening;
        LessonRecorder recorder(store, [&at] { return at; });
        recorder.lessonStarted(1, {});
        QCOMPARE(recorder.lessonEnded({10, 0, 1, 5}, LessonEnd::Stopped, 1),
                 std::optional<QString>(QStringLiteral("broken")));
        recorder.lessonStarted(1, {});
        QCOMPARE(recorder.lessonEnded({10, 0, 1, 5}, LessonEnd::Stopped, 1), std::nullopt);
        QCOMPARE(store.attempts, 2);
    }

    void aRealFileReceivesTheResult() {
        QTemporaryDir dir;
        SqliteResultsStore store(dir.filePath(QStringLiteral("vysledky.sqlite")));
        QDateTime at = kEvening;
        LessonRecorder recorder(store, [&at] { return at; });
        recorder.lessonStarted(50, {10, 1, 1, 10});
        QVERIFY(!recorder.lessonEnded({70, 1, 3, 40}, LessonEnd::Finished, 2));
        const QList<LessonResult> kept = store.results();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0].caption, QStringLiteral("° % § "));
        QCOMPARE(kept[0].keystrokesPerMinute, 120);
        QCOMPARE(kept[0].errorsPerLine, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestLessonRecorder)
#include "test_lesson_recorder.moc"
