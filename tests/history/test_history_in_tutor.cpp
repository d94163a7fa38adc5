// The main window and the results history together, as a learner goes through lessons.
#include "exam/exam_session.h"
#include "history/lesson_recorder.h"
#include "history/results_store.h"
#include "history/results_view.h"
#include "lessons/drill_texts.h"
#include "lessons/weak_key_drill.h"
#include "support/lesson_results.h"
#include "support/tutor.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace tipora;

namespace {

const QDateTime kEvening(QDate(2026, 12, 7), QTime(18, 5, 9));

struct Learner {
    Learner() {
        t.w().setResultsRecording(&recorder);
        t.w().setPracticeHistory(&recorder);
        t.folder.exercises[2] = {QStringLiteral("ab 2"), QStringLiteral("cd"),
                                 QStringLiteral("ef")};
        t.rewrite();
    }

    // Types a line at one character a second, then Enter.
    void typeSlowly(const QString& line) {
        for (QChar c : line) {
            t.type(QString(c));
            t.clock->advance(1000);
        }
        t.w().Form_KeyPress(13);
    }

    test::Tutor t;
    SqliteResultsStore store{t.folder.filePath(QStringLiteral("vysledky.sqlite"))};
    QDateTime at = kEvening;
    LessonRecorder recorder{store, [this] { return at; }};
};

} // namespace

class TestHistoryInTutor : public QObject {
    Q_OBJECT

private slots:
    void lessonsAreKeptWithTheirOwnFigures() {
        Learner l;
        auto& t = l.t;

        // Lesson 1 to its end: "ab 1" and "cd", 6 characters and 2 Enters in 6 seconds.
        t.w().mnuLekce_Click(1);
        l.typeSlowly(QStringLiteral("ab 1"));
        l.typeSlowly(QStringLiteral("cd"));
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("KONEC LEKCE"));
        QCOMPARE(t.platform.messages.size(), std::size_t{1}); // the question, answered "Ne"

        // Lesson 2, on top of those counters: one line with an error, then Stop, then "Ano".
        l.at = kEvening.addSecs(600);
        t.w().mnuLekce_Click(2);
        t.type(QStringLiteral("x"));
        l.typeSlowly(QStringLiteral("ab 2"));
        t.platform.answers = {MessageResult::Yes};
        t.w().mnuStop_Click();
        QCOMPARE(t.s().Uhozy, 0);

        // A demonstration and a lesson stopped before its first Enter keep nothing.
        t.w().mnuLekce_Click(3);
        t.platform.demoDialog = [](FrmDemo& dialog) { dialog.setScrollValue(600); };
        t.w().mnuDemo_Click();
        t.clock->advance(3000);
        t.w().mnuStop_Click();
        t.w().mnuLekce_Click(4);
        l.typeSlowly(QStringLiteral("ab"));
        t.w().mnuStop_Click();

        // Lesson 5 after "Ano": its figures are the counters on screen.
        l.at = kEvening.addSecs(1200);
        t.w().mnuLekce_Click(5);
        l.typeSlowly(QStringLiteral("ab 5"));
        t.w().mnuStop_Click();

        const QList<LessonResult> kept = l.store.results();
        QCOMPARE(kept.size(), 3);
        QCOMPARE(test::figures(kept[2]),
                 QStringLiteral("lesson 1 \"f j d k\" keyboard 1 at 2026-12-07T18:05:09: 8 keys "
                                "0 errors 2 lines 6 s 80/min 0/line finished"));
        QCOMPARE(test::figures(kept[1]),
                 QStringLiteral("lesson 2 \"s l\" keyboard 1 at 2026-12-07T18:15:09: 5 keys "
                                "1 errors 1 lines 4 s 75/min 1/line stopped"));
        QCOMPARE(test::figures(kept[0]),
                 QStringLiteral("lesson 5 \"r u\" keyboard 1 at 2026-12-07T18:25:09: 5 keys "
                                "0 errors 1 lines 4 s 75/min 0/line stopped"));
        QCOMPARE(t.s().Uhozy, 5 + 2); // the screen still adds up lesson 4's keys
        // No message but the questions.
        for (const auto& message : t.platform.messages) {
            QCOMPARE(message.text, QStringLiteral("Chceš smazat statistiku?"));
        }
    }

    // From "Výsledky" to a drill of the weak keys: asked for with too little history it says so
    // and starts nothing; with a finished lesson and errors on r and u it is typed like a lesson
    // with those keys red, and kept in the history as a drill.
    void aDrillOfTheWeakKeysIsTypedAndKeptAsADrill() {
        Learner l;
        auto& t = l.t;
        t.platform.resultsChoice = Platform::ResultsChoice::WeakKeyDrill;
        t.w().mnuVysledky_Click();
        QCOMPARE(t.platform.messages.back().text, texts::tooLittleHistory(0, 200));
        QCOMPARE(t.w().session().phase(), Phase::NoLesson);

        LessonResult lesson5;
        lesson5.when = kEvening.addDays(-1);
        lesson5.lesson = 5;
        lesson5.finished = true;
        lesson5.keys = {{QStringLiteral("a"), {}, 100, 0, 90, 27000},
                        {QStringLiteral("r"), {}, 60, 12, 40, 16000},
                        {QStringLiteral("u"), {}, 50, 8, 40, 16000}};
        QVERIFY(l.store.record(lesson5));
        t.folder.exercises[5] = {QStringLiteral("ruka kraj drak hrad"),
                                 QStringLiteral("duha kluk hluk sluha fff jjj")};
        t.rewrite();
        t.w().mnuVysledky_Click();
        QCOMPARE(t.platform.resultsKeyboardType, 1);
        QCOMPARE(t.f().window.title, QStringLiteral("Tipora 1.5 - Slabé klávesy: r u a"));
        QCOMPARE(t.f().klavesa('R')->back, kRed);
        QCOMPARE(t.f().klavesa('F')->back, kGreen);
        QCOMPARE(t.f().klavesa('E')->back, kWhite);
        const QString line = t.f().lblZadani.text;
        QVERIFY(!line.contains(QStringLiteral("fff")));
        l.typeSlowly(line);
        QCOMPARE(t.s().Radky, 1);
        t.w().mnuStop_Click();
        const LessonResult kept = l.store.results().front();
        QCOMPARE(kept.kind, LessonId::Kind::Drill);
        QCOMPARE(kept.caption, QStringLiteral("Slabé klávesy: r u a"));
        QCOMPARE(kept.keystrokes, line.size() + 1);
    }

    // A one-minute copy test on a text that came with the course: the time runs from the first
    // key and closes the text; the figures are the hand count's, kept with the result and put on
    // the result sheet.
    void aCopyTestIsScoredKeptAndShown() {
        Learner l;
        auto& t = l.t;
        QDir(t.folder.path()).mkdir(QStringLiteral("opisy"));
        QFile text(t.folder.filePath(QStringLiteral("opisy/01.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("Zima\nPes b\xC4\x9B\xC5\xBE\xC3\xAD lesem.\nKo\xC4\x8Dka sp\xC3\xAD doma.\n");
        text.close();
        t.platform.examChoice = [](ExamChoice& choice) {
            choice.minutes = 1;
            choice.learner = QStringLiteral("Eva");
            return choice.texts.size() == 1;
        };
        t.platform.examLearner = [&t](ExamSession& exam) {
            QCOMPARE(exam.clockText(), QStringLiteral("1:00"));
            t.clock->advance(5000); // reading first costs no time
            exam.type(QStringLiteral("Pes bezi lesem.\nKočka"));
            t.clock->advance(59000);
            QVERIFY(!exam.tick());
            exam.type(QStringLiteral(" sp"));
            t.clock->advance(1000);
            QVERIFY(exam.tick() && exam.finished());
            exam.type(QStringLiteral("í doma."));
        };
        t.w().mnuZkouska_Click();
        QCOMPARE(t.platform.examSheets.size(), std::size_t{1});
        const ExamSheet& sheet = t.platform.examSheets.front();
        QCOMPARE(sheet.learner, QStringLiteral("Eva"));
        // "Pes bezi lesem.↵Kočka sp": 4+1+4+1+6+1+6+1+2 strokes; "bezi" wrong, "sp" cut short.
        QCOMPARE(sheet.figures.grossStrokes, 26);
        QCOMPARE(sheet.figures.errors, 1);
        QCOMPARE(sheet.figures.netPerMinute, 16.0);
        const LessonResult kept = l.store.results().front();
        QCOMPARE(kept.kind, LessonId::Kind::Exam);
        QCOMPARE(kept.caption, QStringLiteral("Opis: Zima (1 min, penalizace 10)"));
        QCOMPARE(test::figures(kept).contains(QStringLiteral("26 keys 1 errors")), true);
    }

    // The window's speed is the lesson's own keystrokes over the lesson's own clock. After a first
    // lesson finished at its last line that is exactly what the main window shows; later, the
    // screen adds up the lessons and stops counting time at the last keystroke, and the
    // window's hint says what its figure is made of.
    void theStoredSpeedIsWhatTheLearnerCanCheck() {
        Learner l;
        auto& t = l.t;
        const auto typeEvenly = [&t](const QString& keys) {
            for (QChar c : keys) {
                if (c == u'\n') {
                    t.w().Form_KeyPress(13);
                } else {
                    t.type(QString(c));
                }
                t.clock->advance(700);
            }
        };

        t.w().mnuLekce_Click(1);
        typeEvenly(QStringLiteral("ab 1\ncd\n"));
        QCOMPARE(t.f().txtPopisLekce.text, QStringLiteral("KONEC LEKCE"));
        QList<LessonResult> kept = l.store.results();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(QString::number(kept[0].keystrokesPerMinute), t.f().lblUhozyVMin.text);
        QCOMPARE(kept[0].keystrokesPerMinute, 120); // 8 keystrokes in 4 whole seconds

        // Lesson 2 on top, stopped five seconds after its last keystroke.
        t.w().mnuLekce_Click(2);
        typeEvenly(QStringLiteral("ab 2\n"));
        t.clock->advance(5000);
        const QString onScreen = t.f().lblUhozyVMin.text;
        t.w().mnuStop_Click();
        kept = l.store.results();
        QCOMPARE(kept.size(), 2);
        QCOMPARE(onScreen, QStringLiteral("130")); // 13 keystrokes of both lessons in 6 s
        const ResultsView view(kept);
        QCOMPARE(view.cell(0, ResultsView::Speed), QStringLiteral("38"));
        QCOMPARE(view.hint(0, ResultsView::Speed),
                 QStringLiteral("5 úhozů za 8 s = 38 úhozů za minutu"));
        QCOMPARE(view.hint(1, ResultsView::Speed),
                 QStringLiteral("8 úhozů za 4 s = 120 úhozů za minutu"));
        QVERIFY(ResultsView::headerHint(ResultsView::Speed).contains(QStringLiteral("Stop")));
        QVERIFY(view.hint(0, ResultsView::Lines).isEmpty());
    }

    void theWindowOpensOnlyBetweenLessons() {
        Learner l;
        auto& t = l.t;
        // The menu item follows the phase table with "Lekce"; the handler itself refuses too.
        t.w().mnuVysledky_Click();
        QCOMPARE(t.platform.resultsWindows, 1);
        t.w().mnuLekce_Click(1);
        t.type(QStringLiteral("a"));
        t.w().mnuVysledky_Click();
        QCOMPARE(t.platform.resultsWindows, 1);
        t.w().mnuStop_Click();
        t.w().mnuVysledky_Click();
        QCOMPARE(t.platform.resultsWindows, 2);
    }

    void aFileThatCannotBeUsedIsSaidOnceAndTheTutorGoesOn() {
        Learner l;
        auto& t = l.t;
        const QByteArray foreign("these are my notes, not a database");
        t.folder.writeBytes(QStringLiteral("vysledky.sqlite"), foreign);

        for (int lesson = 1; lesson <= 2; ++lesson) {
            t.w().mnuLekce_Click(lesson);
            l.typeSlowly(QStringLiteral("ab %1").arg(lesson));
            t.w().mnuStop_Click();
        }
        QCOMPARE(t.platform.messages.size(), std::size_t{3});
        QCOMPARE(t.platform.messages[0].text, l.store.failure());
        QCOMPARE(t.platform.messages[0].title, QStringLiteral("Tipora 1.0"));
        QCOMPARE(t.platform.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(t.platform.messages[1].text, QStringLiteral("Chceš smazat statistiku?"));
        QCOMPARE(t.platform.messages[2].text, QStringLiteral("Chceš smazat statistiku?"));
        QCOMPARE(t.s().Radky, 2);
        QFile file(l.store.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), foreign);
    }
};

QTEST_GUILESS_MAIN(TestHistoryInTutor)
#include "test_history_in_tutor.moc"
