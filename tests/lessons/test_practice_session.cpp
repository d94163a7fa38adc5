// The practice session's own rules: what each phase enables, what the line check says of a key,
// and the events a listener hears. The session runs here without a window. Also the drill of the
// learner's weak keys that it types.
#include "keyboard/character_strokes.h"
#include "lessons/drill_texts.h"
#include "lessons/practice_session.h"
#include "lessons/weak_key_drill.h"
#include "support/fake_platform.h"
#include "support/tutor.h"

#include <QTest>
#include <functional>

using namespace tipora;

namespace {

struct Heard final : ResultsRecording {
    void lessonStarted(const LessonId& lesson, const PracticeCounters&) override {
        started << lesson;
    }
    void keyChecked(const KeyCheck& check) override { keys << check; }
    void lineClosed(const PracticeCounters& now) override { closed << now.lines; }
    std::optional<QString> lessonEnded(const PracticeCounters&, LessonEnd end, int) override {
        ends << end;
        return std::nullopt;
    }
    QList<LessonId> started;
    QList<KeyCheck> keys;
    QList<int> closed;
    QList<LessonEnd> ends;
};

// The menus and timers a phase gives the window, as the learner finds them.
struct Enabled {
    bool lessons, stop, pause, demo, clock, demoSteps;
};

} // namespace

Q_DECLARE_METATYPE(std::function<void(test::Tutor&)>)

class TestPracticeSession : public QObject {
    Q_OBJECT

private slots:
    void phaseEnablesItsMenusAndTimers_data() {
        using Steps = std::function<void(test::Tutor&)>;
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("phase");
        QTest::addColumn<QString>("enabled"); // lessons, Stop, Pause, demo, clock, demo steps
        const auto lesson = [](test::Tutor& t) { t.w().mnuLekce_Click(1); };
        const auto typing = [lesson](test::Tutor& t) {
            lesson(t);
            t.type(QStringLiteral("a"));
        };
        const auto demo = [lesson](test::Tutor& t) {
            lesson(t);
            t.w().mnuDemo_Click();
        };
        const auto row = [](const char* name, Steps steps, Phase phase, const char* enabled) {
            QTest::newRow(name) << steps << static_cast<int>(phase) << QString::fromLatin1(enabled);
        };
        row(
            "after start-up", [](test::Tutor&) {}, Phase::NoLesson, "100000");
        row("lesson chosen", lesson, Phase::Ready, "111100");
        row("first key typed", typing, Phase::Typing, "011010");
        row(
            "paused",
            [typing](test::Tutor& t) {
                typing(t);
                t.w().mnuPause_Click();
            },
            Phase::Paused, "001000");
        row(
            "held by the preview",
            [typing](test::Tutor& t) {
                typing(t);
                t.w().imgVysunNahled_Click();
            },
            Phase::Held, "011000");
        row("demonstrating", demo, Phase::Demonstration, "011011");
        row(
            "demonstration paused",
            [demo](test::Tutor& t) {
                demo(t);
                t.w().mnuPause_Click();
            },
            Phase::DemonstrationPaused, "001000");
        row(
            "stopped",
            [typing](test::Tutor& t) {
                typing(t);
                t.w().mnuStop_Click();
            },
            Phase::Ended, "100000");
        row(
            "ended in a pause",
            [typing](test::Tutor& t) {
                typing(t);
                t.w().mnuPause_Click();
                t.w().imgVysunNahled_Click();
                t.w().mnuStop_Click();
            },
            Phase::EndedPaused, "100000");
        row(
            "lesson unreadable",
            [](test::Tutor& t) {
                t.folder.remove(QStringLiteral("cz01.dat"));
                t.w().mnuLekce_Click(1);
            },
            Phase::Unavailable, "111000");
    }

    // One table says what each phase enables; the window shows it after every handler.
    void phaseEnablesItsMenusAndTimers() {
        QFETCH(std::function<void(test::Tutor&)>, steps);
        QFETCH(int, phase);
        QFETCH(QString, enabled);
        test::Tutor t;
        steps(t);
        QCOMPARE(static_cast<int>(t.w().session().phase()), phase);
        const FrmTiporaForm& f = t.f();
        const bool shown[] = {f.mnuLekce.enabled && f.mnuVysledky.enabled,
                              f.mnuStop.enabled,
                              f.mnuPause.enabled,
                              f.mnuDemo.enabled,
                              f.tmrTimeP.enabled(),
                              f.tmrDemo.enabled()};
        QString got;
        for (bool on : shown) {
            got += on ? u'1' : u'0';
        }
        QCOMPARE(got, enabled);
        QVERIFY(t.w().session().brokenRules().isEmpty());
    }

    void lineCheckSaysWhatAKeyDid() {
        ExerciseLine line;
        line.replace(QStringLiteral("ač"));
        QCOMPARE(line.check('a'), KeyOutcome::Accepted);
        QCOMPARE(line.check('A'), KeyOutcome::ErrorInLine);
        QCOMPARE(line.check(13), KeyOutcome::ErrorInLine); // Enter too early
        for (int control : {8, 9, 27}) {
            QCOMPARE(line.check(control), KeyOutcome::Ignored);
        }
        line.accept();
        QCOMPARE(line.check(0xE8), KeyOutcome::Accepted); // č in Windows-1250
        line.accept();
        QCOMPARE(line.check(13), KeyOutcome::LineClosed);
        QCOMPARE(line.check(8), KeyOutcome::ErrorAtLineEnd);
        QCOMPARE(line.check(' '), KeyOutcome::ErrorAtLineEnd);
    }

    // Without a window: the listener hears the learner's keys with the time between them, the
    // closed lines and the end, and nothing of the demonstration.
    void listenerHearsTheLearnersKeys() {
        test::FakePlatform platform;
        qint64 now = 1000;
        platform.elapsed = [&now] { return now; };
        PracticeSession session(platform);
        Heard heard;
        session.setListener(&heard);
        session.startLesson(LessonId{LessonId::Kind::OwnText, 0, QStringLiteral("dopis")});
        session.useSource(std::make_unique<TextLines>(QStringList{"ab", "c", "d"}));

        session.typeKey('a');
        now += 250;
        session.typeKey('x');
        now += 100;
        session.typeKey('b');
        now += 50;
        const auto closed = session.typeKey(13);
        QVERIFY(closed && !closed->nextLineDue); // the error makes the line come again
        QCOMPARE(heard.keys.size(), 4);
        const KeyOutcome outcomes[] = {KeyOutcome::Accepted, KeyOutcome::ErrorInLine,
                                       KeyOutcome::Accepted, KeyOutcome::LineClosed};
        const qint64 since[] = {-1, 250, 350, 50};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(heard.keys[i].outcome, outcomes[i]);
            QCOMPARE(heard.keys[i].sinceLastKey, since[i]);
        }
        QCOMPARE(heard.keys[1].expected, QChar(u'b'));
        QCOMPARE(heard.keys[1].typed, int('x'));
        QCOMPARE(heard.closed, QList<int>{1});

        // A pause is no time between keys.
        session.togglePause();
        now += 60000;
        session.togglePause();
        session.typeKey('a');
        QCOMPARE(heard.keys.last().sinceLastKey, -1);

        session.stop(false, 1);
        session.startLesson(LessonId::course(2));
        session.useSource(std::make_unique<TextLines>(QStringList{"xy", "z"}));
        session.startDemonstration();
        const KeyCheck typed = session.demonstrateKey();
        QVERIFY(typed.demonstration && typed.outcome == KeyOutcome::Accepted);
        QCOMPARE(session.statistics().keystrokes(), 4); // the learner's a, b, Enter and a
        QCOMPARE(heard.keys.size(), 5);
        QCOMPARE(session.demonstrationNextLine().shown, QStringLiteral("z"));
        QCOMPARE(session.demonstrationNextLine().kind, SourceLine::Kind::End);
        session.stop(false, 1);
        QCOMPARE(heard.started.size(), 2);
        QCOMPARE(heard.started[0].name, QStringLiteral("dopis"));
        QCOMPARE(heard.ends, (QList<LessonEnd>{LessonEnd::Stopped, LessonEnd::Demonstration}));
        QVERIFY(session.brokenRules().isEmpty());
    }

    // Lessons 1 to 5 taught a d f g h j k l s ů r u; ř and o are not taught yet.
    void drillUsesTaughtKeysAndRepeatsTheWeakOnes() {
        QStringList words{"ruka", "kraj",  "drak", "hrad", "duha", "kluk",
                          "hluk", "sluha", "řada", "jaro", "Ruka", "salda"};
        // Far more words without the weak letters: a drill that picked words at random would
        // come nowhere near its repeats.
        for (const QChar x : QStringLiteral("dfghjkls")) {
            for (const QChar y : QStringLiteral("dfghjkls")) {
                words << QString(x) + u'ů' + y;
            }
        }
        PracticeRecord record;
        record.finishedLessons = {1, 2, 3, 4, 5};
        record.keys = {{u'r', 60, 12}, {u'u', 50, 8},  {u'R', 10, 4}, {u'ř', 80, 40},
                       {u'a', 100, 1}, {u'k', 100, 0}, {u'o', 5, 5}};
        const WeakKeyDrill drill = weakKeyDrill(record, words, 7);
        QVERIFY2(drill.refusal.isEmpty(), qPrintable(drill.refusal));
        QCOMPARE(drill.weakKeys, QStringLiteral("r u a"));
        QCOMPARE(drill.lines.size(), kDrillLineCount);
        const std::vector<int> taught = taughtKeyCodes(record.finishedLessons);
        QString all;
        for (const QString& line : drill.lines) {
            QVERIFY(!line.isEmpty() && line.size() <= kDrillLineLength);
            QVERIFY(!line.startsWith(u' ') && !line.endsWith(u' ') && !line.contains(u"  "));
            for (const QString& word : line.split(u' ')) {
                QVERIFY2(words.contains(word), qPrintable(word));
                for (const QChar c : word) {
                    const CharacterStroke stroke = characterStroke(c);
                    QVERIFY(!stroke.shift && std::ranges::count(taught, stroke.code) == 1);
                }
            }
            all += line;
        }
        for (const QChar weak : {u'r', u'u', u'a'}) {
            QVERIFY(all.count(weak) >= kWeakKeyRepeats);
        }
        QCOMPARE(weakKeyDrill(record, words, 7).lines, drill.lines);

        record.keys = {{u'r', 150, 12}, {u'u', 49, 8}};
        QCOMPARE(weakKeyDrill(record, words, 7).refusal, texts::tooLittleHistory(199, 200));
    }
};

QTEST_GUILESS_MAIN(TestPracticeSession)
#include "test_practice_session.moc"
