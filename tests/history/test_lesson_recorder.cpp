#include "history/lesson_recorder.h"
#include "history/results_store.h"
#include "support/lesson_results.h"

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
    std::optional<QList<KeyFigure>> keyFigures(const KeyPeriod&) override { return std::nullopt; }
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

struct Recording {
    MemoryStore store;
    QDateTime at = kEvening;
    LessonRecorder recorder{store, [this] { return at; }};

    // A lesson chosen with the counters on screen and ended with others; true when the end had
    // nothing to report.
    bool lesson(int number, const PracticeCounters& from, const PracticeCounters& to, LessonEnd end,
                int keyboardType) {
        recorder.lessonStarted(LessonId::course(number), from);
        return !recorder.lessonEnded(to, end, keyboardType);
    }
};

} // namespace

class TestLessonRecorder : public QObject {
    Q_OBJECT

private slots:
    // Counters on screen add up over lessons until "Ano" clears them; each stored result is
    // the lesson's own share.
    void eachLessonKeepsItsOwnShare() {
        Recording r;
        // Lesson 3 from a clean start: 240 keystrokes in 2 minutes, 5 errors in 4 lines.
        QVERIFY(r.lesson(3, {0, 0, 0, 0}, {240, 5, 4, 120}, LessonEnd::Stopped, 1));
        // "Ne": lesson 4 goes on from those counters and adds 150 keystrokes in 50 s, 1 error
        // in 3 lines; the screen shows the totals, the history this lesson alone.
        r.at = kEvening.addSecs(60);
        QVERIFY(r.lesson(4, {240, 5, 4, 120}, {390, 6, 7, 170}, LessonEnd::Finished, 2));
        // "Ano" cleared them before lesson 5 was chosen.
        r.at = kEvening.addSecs(120);
        QVERIFY(r.lesson(5, {0, 0, 0, 0}, {61, 2, 2, 30}, LessonEnd::Stopped, 1));

        QCOMPARE(r.store.stored.size(), 3);
        // 5 errors in 4 lines: 1.25 rounds up.
        QCOMPARE(test::figures(r.store.stored[2]),
                 QStringLiteral("lesson 3 \"a ů\" keyboard 1 at 2026-12-07T18:05:09: 240 keys "
                                "5 errors 4 lines 120 s 120/min 1.3/line stopped"));
        QCOMPARE(test::figures(r.store.stored[1]),
                 QStringLiteral("lesson 4 \"g h\" keyboard 2 at 2026-12-07T18:06:09: 150 keys "
                                "1 errors 3 lines 50 s 180/min 0.3/line finished"));
        QCOMPARE(test::figures(r.store.stored[0]),
                 QStringLiteral("lesson 5 \"r u\" keyboard 1 at 2026-12-07T18:07:09: 61 keys "
                                "2 errors 2 lines 30 s 122/min 1/line stopped"));
    }

    void onlyTypedLessonsWithAClosedLineCount() {
        Recording r;
        // Stopped before any line was closed: characters typed, nothing finished.
        QVERIFY(r.lesson(1, {100, 2, 5, 60}, {130, 3, 5, 75}, LessonEnd::Stopped, 1));
        // A demonstration closes lines of its own, but they are not the learner's.
        QVERIFY(r.lesson(2, {130, 3, 5, 75}, {130, 3, 5, 75}, LessonEnd::Demonstration, 1));
        QVERIFY(r.lesson(2, {0, 0, 0, 0}, {500, 0, 9, 100}, LessonEnd::Demonstration, 1));
        // An end without a lesson chosen, and a second end of the same lesson.
        QVERIFY(!r.recorder.lessonEnded({600, 0, 10, 110}, LessonEnd::Stopped, 1));
        QVERIFY(r.lesson(2, {0, 0, 0, 0}, {20, 0, 1, 10}, LessonEnd::Finished, 1));
        QVERIFY(!r.recorder.lessonEnded({40, 0, 2, 20}, LessonEnd::Finished, 1));
        QCOMPARE(r.store.attempts, 1);
        QCOMPARE(r.store.stored.size(), 1);
        QCOMPARE(r.store.stored[0].keystrokes, 20);
        // Closed lines in no time at all (under a second): no speed rather than a division by 0.
        QVERIFY(r.lesson(9, {0, 0, 0, 0}, {10, 0, 1, 0}, LessonEnd::Finished, 1));
        QCOMPARE(r.store.stored[0].keystrokesPerMinute, 0);
    }

    // Each character due gets its strokes, errors and the time to each right key; each
    // confusion a row of its own; the demonstration and ignored keys nothing. A new lesson
    // starts its own count.
    void keysAreCountedPerCharacter() {
        Recording r;
        r.recorder.lessonStarted(LessonId::course(2), {});
        r.recorder.keyChecked({KeyOutcome::Accepted, u'x', 'x', 40, false});
        r.recorder.lessonStarted(LessonId::course(1), {});
        const KeyCheck checks[] = {
            {KeyOutcome::Accepted, u'a', 'a', -1, false},
            {KeyOutcome::ErrorInLine, u'ř', 0x9E, 120, false}, // ž instead
            {KeyOutcome::ErrorInLine, u'ř', 13, 80, false},    // Enter too early
            {KeyOutcome::Accepted, u'ř', 0xF8, 310, false},
            {KeyOutcome::Ignored, u'a', 8, 5, false},
            {KeyOutcome::Accepted, u'a', 'a', 90, true},
            {KeyOutcome::ErrorAtLineEnd, QChar(), ' ', 40, false},
            {KeyOutcome::LineClosed, QChar(), 13, 150, false},
        };
        for (const KeyCheck& check : checks) {
            r.recorder.keyChecked(check);
        }
        QVERIFY(!r.recorder.lessonEnded({3, 3, 1, 2}, LessonEnd::Finished, 1));
        const QList<KeyFigure> expected{
            {QStringLiteral("\n"), {}, 2, 1, 1, 150},
            {QStringLiteral("\n"), QStringLiteral(" "), 0, 1, 0, 0},
            {QStringLiteral("a"), {}, 1, 0, 0, 0},
            {QStringLiteral("ř"), {}, 3, 2, 1, 310},
            {QStringLiteral("ř"), QStringLiteral("\n"), 0, 1, 0, 0},
            {QStringLiteral("ř"), QStringLiteral("ž"), 0, 1, 0, 0},
        };
        QCOMPARE(r.store.stored.size(), 1);
        QCOMPARE(r.store.stored[0].keys, expected);
    }

    void aFailingStoreIsReportedOnce() {
        Recording r;
        r.store.broken = true;
        r.recorder.lessonStarted(LessonId::course(1), {});
        QCOMPARE(r.recorder.lessonEnded({10, 0, 1, 5}, LessonEnd::Stopped, 1),
                 std::optional<QString>(QStringLiteral("broken")));
        QVERIFY(r.lesson(1, {}, {10, 0, 1, 5}, LessonEnd::Stopped, 1));
        QCOMPARE(r.store.attempts, 2);
    }

    void aRealFileReceivesTheResult() {
        QTemporaryDir dir;
        SqliteResultsStore store(dir.filePath(QStringLiteral("vysledky.sqlite")));
        QDateTime at = kEvening;
        LessonRecorder recorder(store, [&at] { return at; });
        recorder.lessonStarted(LessonId::course(50), {10, 1, 1, 10});
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
