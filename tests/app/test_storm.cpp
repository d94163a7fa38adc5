// A storm of random events on the main window, with the rules of support/invariants.h checked
// after every one. TIPORA_STORM_SEED and TIPORA_STORM_EVENTS choose another run; a failure
// names its seed and the shortest sequence found that still breaks the same rule.
#include "ground/windows1250.h"
#include "support/invariants.h"
#include "support/tutor.h"
#include "window/frm_tipora.h"

#include <QElapsedTimer>
#include <QTest>
#include <optional>
#include <random>
#include <set>

using namespace tipora;
using test::Tutor;

namespace {

enum class Kind {
    KeyDown,
    KeyUp,
    KeyPress,
    Tick,
    Lesson,
    Stop,
    PauseMenu,
    Demo,
    Settings,
    About,
    PauseLabel,
    NextLine,
    Metronome,
    SlideOut,
    SlideIn,
    MouseMove,
};

// One thing the learner or time does, with everything needed to replay it alone: the answer to
// any box it opens, the time that passes while that box is open, and the choices in a dialog.
struct Event {
    Kind kind = Kind::Tick;
    int arg = 0;
    MessageResult answer = MessageResult::No;
    int modalMs = 0;
    int extra = 0; // dialogs: bits of the settings dialog's choices
};

QString describe(const Event& e) {
    const QString answer =
        QStringLiteral("answers %1, %2 ms pass in boxes")
            .arg(e.answer == MessageResult::Yes ? QStringLiteral("Yes") : QStringLiteral("No"))
            .arg(e.modalMs);
    switch (e.kind) {
    case Kind::KeyDown:
        return QStringLiteral("Form_KeyDown(%1)").arg(e.arg);
    case Kind::KeyUp:
        return QStringLiteral("Form_KeyUp(%1)").arg(e.arg);
    case Kind::KeyPress:
        return QStringLiteral("Form_KeyPress(%1)").arg(e.arg);
    case Kind::Tick:
        return QStringLiteral("clock +%1 ms").arg(e.arg);
    case Kind::Lesson:
        return QStringLiteral("mnuLekce_Click(%1), %2").arg(e.arg).arg(answer);
    case Kind::Stop:
        return QStringLiteral("mnuStop_Click, %1").arg(answer);
    case Kind::PauseMenu:
        return QStringLiteral("mnuPause_Click");
    case Kind::Demo:
        return QStringLiteral("mnuDemo_Click at speed %1, %2").arg(e.arg).arg(answer);
    case Kind::Settings:
        return QStringLiteral("mnuNastaveni_Click: tempo %1, choices 0x%2, %3")
            .arg(e.arg)
            .arg(e.extra, 0, 16)
            .arg(answer);
    case Kind::About:
        return QStringLiteral("mnuOProgramu_Click, %1").arg(answer);
    case Kind::PauseLabel:
        return QStringLiteral("lblPause_Click");
    case Kind::NextLine:
        return QStringLiteral("imgDalsi_Click, %1").arg(answer);
    case Kind::Metronome:
        return QStringLiteral("imgMetronom_Click");
    case Kind::SlideOut:
        return QStringLiteral("imgVysunNahled_Click");
    case Kind::SlideIn:
        return QStringLiteral("imgZasunNahled_Click");
    case Kind::MouseMove:
        return QStringLiteral("mouse move %1").arg(e.arg);
    }
    return {};
}

// The course the storm plays: messages first, last and doubled, an empty line, Czech letters,
// a lesson whose first line heads the next one, a last file that ends in a message with no line
// end, and one exercise file missing altogether.
void prepareCourse(Tutor& t) {
    t.folder.exercises[1] = {"ab", ">>>Pozor, zpráva", "cd", "", "ef"};
    t.folder.exercises[2] = {">>>Hned na začátku", "gh ij"};
    t.folder.exercises[3] = {"kl", ">>>Zpráva na konci lekce"};
    t.folder.exercises[4] = {"žluťoučký kůň", "úpěl ďábelské ódy"};
    t.folder.exercises[5] = {">>>a", ">>>b", "x", "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ"};
    t.folder.exercises[6] = {"LEKCE 07 skoro"};
    t.folder.exercises[8] = {"a"};
    t.folder.exercises[12] = {"Ab: 1, 2; 3?", "\"§\" (%) +ě=é"};
    for (int n = 1; n <= 50; ++n) {
        t.folder.exercises.try_emplace(n, QStringList{QStringLiteral("ab %1").arg(n),
                                                      QStringLiteral("čř šž ěý"),
                                                      QStringLiteral("Kolo, pes; 12."), "cd"});
    }
    t.rewrite();
    t.folder.remove(QStringLiteral("cz07.dat")); // lessons 31 to 35
    QStringList last;
    for (int n = 46; n <= 50; ++n) {
        last << test::LessonFolder::header(n) << QStringLiteral("mn %1").arg(n);
    }
    last << QStringLiteral(">>>Konec souboru");
    QStringEncoder encoder("windows-1250");
    t.folder.writeBytes(QStringLiteral("cz10.dat"), encoder.encode(last.join(u"\r\n")));
}

constexpr std::array kKeyCodes{65,  66,  67,  68,  69,  70, 71, 72, 73,  74,   75,  76,  77,  78,
                               79,  80,  81,  82,  83,  84, 85, 86, 87,  88,   89,  90,  48,  49,
                               50,  51,  52,  53,  54,  55, 56, 57, 186, 187,  188, 189, 190, 191,
                               192, 219, 220, 221, 222, 13, 16, 16, 16,  1016, 20,  19,  32,  32};

// One main window under the storm.
class Storm {
public:
    Storm() {
        prepareCourse(tutor_);
        inv_.emplace(tutor_.w(), tutor_.platform);
        const auto passTime = [this] {
            // A box opened from a timer handler is already inside the clock's advance.
            if (!advancing_ && current_.modalMs > 0) {
                advance(current_.modalMs);
            }
        };
        tutor_.platform.whileModal = passTime;
        tutor_.platform.whileDialog = passTime;
        tutor_.platform.demoDialog = [this](FrmDemo& dialog) {
            dialog.setScrollValue(current_.arg);
        };
        tutor_.platform.settingsDialog = [this](FrmNastaveni& dialog) {
            if (current_.arg > 0) {
                dialog.setScrollValue(current_.arg);
            }
            dialog.chkPipKlavesa.value = (current_.extra & 1) ? 1 : 0;
            dialog.chkPipChyba.value = (current_.extra & 2) ? 1 : 0;
            dialog.chkOdezvaKlaves.value = (current_.extra & 4) ? 0 : 1;
            if (current_.extra & 8) {
                dialog.cmdSave_Click();
            }
            if (current_.extra & 16) {
                dialog.cmdZrus_Click();
            } else {
                dialog.cmdOK_Click();
            }
        };
    }

    test::Observed state() const { return tutor_.s(); }
    // Events the window would not have let happen when they came (a disabled menu item, a
    // hidden button).
    int refused() const { return refused_; }

    // Runs the event if the window would let it happen now; returns the rules it broke.
    QStringList apply(const Event& e) {
        current_ = e;
        tutor_.platform.answers.assign(4, e.answer);
        FrmTipora& w = tutor_.w();
        FrmTiporaForm& f = tutor_.f();
        switch (e.kind) {
        case Kind::KeyDown:
            held_.insert(e.arg);
            w.Form_KeyDown(e.arg);
            break;
        case Kind::KeyUp:
            held_.erase(e.arg);
            w.Form_KeyUp(e.arg);
            break;
        case Kind::KeyPress:
            w.Form_KeyPress(e.arg);
            break;
        case Kind::Tick:
            advance(e.arg);
            break;
        case Kind::Lesson:
            if (f.mnuLekce.enabled) {
                inv_->lessonChosen(e.arg, w);
                w.mnuLekce_Click(e.arg);
            } else {
                ++refused_;
            }
            break;
        case Kind::Stop:
            if (f.mnuStop.enabled) {
                w.mnuStop_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::PauseMenu:
            if (f.mnuPause.enabled) {
                w.mnuPause_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::Demo:
            if (f.mnuDemo.enabled) {
                w.mnuDemo_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::Settings:
            w.mnuNastaveni_Click();
            break;
        case Kind::About:
            w.mnuOProgramu_Click();
            break;
        case Kind::PauseLabel:
            w.lblPause_Click();
            break;
        case Kind::NextLine:
            if (f.imgDalsi.visible) {
                w.imgDalsi_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::Metronome:
            w.imgMetronom_Click();
            break;
        case Kind::SlideOut:
            if (f.imgVysunNahled.visible) {
                w.imgVysunNahled_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::SlideIn:
            if (f.imgZasunNahled.visible) {
                w.imgZasunNahled_Click();
            } else {
                ++refused_;
            }
            break;
        case Kind::MouseMove:
            mouseMove(e.arg);
            break;
        }
        const bool shift = held_.count(16) > 0 || held_.count(1016) > 0;
        return inv_->broken(w, tutor_.platform, {shift, !held_.empty()});
    }

private:
    void advance(int ms) {
        advancing_ = true;
        tutor_.clock->advance(ms);
        advancing_ = false;
    }

    void mouseMove(int which) {
        FrmTipora& w = tutor_.w();
        FrmTiporaForm& f = tutor_.f();
        switch (which) {
        case 0:
            w.Form_MouseMove();
            break;
        case 1:
            if (f.imgVysunNahled.visible) {
                w.imgVysunNahled_MouseMove();
            }
            break;
        case 2:
            if (f.imgZasunNahled.visible) {
                w.imgZasunNahled_MouseMove();
            }
            break;
        case 3:
            w.imgMetronom_MouseMove();
            break;
        case 4:
            if (f.imgDalsi.visible) {
                w.imgDalsi_MouseMove();
            }
            break;
        case 5:
            w.lblKlavesa_MouseMove();
            break;
        case 6:
            w.txtVstup_MouseMove();
            break;
        default: {
            Control* hints[] = {&f.lblNapoveda001, &f.lblNapoveda002, &f.lblNapoveda003,
                                &f.lblNapoveda004};
            Control& hint = *hints[(which - 7) % 4];
            if (hint.visible) {
                w.lblNapoveda_MouseMove(hint);
            }
        }
        }
    }

    Tutor tutor_;
    std::optional<test::Invariants> inv_;
    std::set<int> held_;
    Event current_;
    bool advancing_ = false;
    int refused_ = 0;
};

// Draws events with the mix a restless learner would produce; typed characters are mostly the
// expected ones, so lessons get somewhere.
class EventSource {
public:
    explicit EventSource(quint32 seed) : rng_(seed) {}

    Event next(const test::Observed& s, const std::set<int>& downKeys) {
        Event e;
        e.answer = pick(4) == 0 ? MessageResult::Yes : MessageResult::No;
        e.modalMs = pick(4) == 0 ? pick(8000) : 0;
        // With no lesson loaded most keys go nowhere, so a new lesson comes sooner then.
        // A paused lesson is soon resumed for the same reason.
        int roll = pick(1000);
        if (!s.LekceNactena && pick(10) == 0) {
            roll = 840;
        } else if (s.Pauza && s.Spusteno && pick(10) == 0) {
            roll = 886;
        }
        if (roll < 120) {
            e.kind = Kind::KeyDown;
            e.arg = kKeyCodes[pick(static_cast<int>(kKeyCodes.size()))];
            if (e.arg == 19 && pick(3) != 0) {
                e.arg = 65; // the Pause key, but not as often as letters
            }
        } else if (roll < 230) {
            e.kind = Kind::KeyUp;
            if (!downKeys.empty() && pick(5) != 0) {
                auto it = downKeys.begin();
                std::advance(it, pick(static_cast<int>(downKeys.size())));
                e.arg = *it;
            } else {
                e.arg = kKeyCodes[pick(static_cast<int>(kKeyCodes.size()))];
            }
        } else if (roll < 700) {
            e.kind = Kind::KeyPress;
            e.arg = typedCode(s);
        } else if (roll < 830) {
            e.kind = Kind::Tick;
            const int range = pick(20);
            e.arg = range < 14 ? pick(30) : range < 19 ? 30 + pick(3500) : 3500 + pick(62000);
        } else if (roll < 850) {
            e.kind = Kind::Lesson;
            e.arg = 1 + (pick(3) == 0 ? pick(50) : pick(12));
        } else if (roll < 856) {
            e.kind = Kind::Stop;
        } else if (roll < 862) {
            e.kind = Kind::PauseMenu;
        } else if (roll < 875) {
            e.kind = Kind::Demo;
            e.arg = pick(4) == 0 ? 1 + pick(300) : 200 + pick(101);
        } else if (roll < 880) {
            e.kind = Kind::Settings;
            e.arg = pick(3) == 0 ? 0 : 1 + pick(1000);
            e.extra = pick(32) & (pick(20) == 0 ? 0x1F : 0x17); // saving is rare
        } else if (roll < 883) {
            e.kind = Kind::About;
        } else if (roll < 889) {
            e.kind = Kind::PauseLabel;
        } else if (roll < 905) {
            e.kind = Kind::NextLine;
        } else if (roll < 920) {
            e.kind = Kind::Metronome;
        } else if (roll < 925) {
            e.kind = Kind::SlideOut;
        } else if (roll < 945) {
            e.kind = Kind::SlideIn;
        } else {
            e.kind = Kind::MouseMove;
            e.arg = pick(11);
        }
        return e;
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<quint32>(n)); }

    int typedCode(const test::Observed& s) {
        const int roll = pick(100);
        if (roll < 85) {
            if (s.Pozice >= 1 && s.Pozice <= s.Zadani.size()) {
                return windows1250Code(QStringView(s.Zadani).sliced(s.Pozice - 1, 1));
            }
            return 13;
        }
        if (roll < 90) {
            return 13;
        }
        if (roll < 92) {
            constexpr int controls[] = {8, 9, 27};
            return controls[pick(3)];
        }
        if (roll < 98) {
            return 32 + pick(224); // printable, Czech letters among them
        }
        const int odd = pick(34);
        return odd < 32 ? odd : odd == 32 ? 127 : -1;
    }

    std::mt19937 rng_;
};

struct Failure {
    qsizetype index = -1; // the event after which the rule broke
    QString rule;         // "rule: detail"
};

QString ruleName(const QString& broken) {
    return broken.section(u':', 0, 0);
}

// Replays events on a fresh window; the first broken rule, if any.
std::optional<Failure> replay(const std::vector<Event>& events) {
    Storm storm;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const QStringList broken = storm.apply(events[i]);
        if (!broken.isEmpty()) {
            return Failure{static_cast<qsizetype>(i), broken.first()};
        }
    }
    return std::nullopt;
}

// Cuts a failing sequence down while it still breaks the same rule: first to the shortest tail
// that does, then by removing chunks of ever smaller size.
std::vector<Event> shrink(std::vector<Event> events, const QString& rule) {
    const auto stillFails = [&rule](std::vector<Event>& candidate) {
        const auto failure = replay(candidate);
        if (!failure || ruleName(failure->rule) != rule) {
            return false;
        }
        candidate.resize(static_cast<std::size_t>(failure->index) + 1);
        return true;
    };
    for (std::size_t tail = 8; tail < events.size(); tail *= 2) {
        std::vector<Event> candidate(events.end() - static_cast<std::ptrdiff_t>(tail),
                                     events.end());
        if (stillFails(candidate)) {
            events = std::move(candidate);
            break;
        }
    }
    QElapsedTimer budget;
    budget.start();
    for (std::size_t chunk = std::max<std::size_t>(events.size() / 2, 1);;) {
        bool removed = false;
        for (std::size_t start = 0; start < events.size() && budget.elapsed() < 120000;) {
            std::vector<Event> candidate(events.begin(),
                                         events.begin() + static_cast<std::ptrdiff_t>(start));
            candidate.insert(candidate.end(),
                             events.begin() + static_cast<std::ptrdiff_t>(
                                                  std::min(start + chunk, events.size())),
                             events.end());
            if (!candidate.empty() && stillFails(candidate)) {
                events = std::move(candidate);
                removed = true;
            } else {
                start += chunk;
            }
        }
        if (chunk == 1 && !removed) {
            break;
        }
        if (!removed) {
            chunk = std::max<std::size_t>(chunk / 2, 1);
        }
        if (budget.elapsed() >= 120000) {
            break;
        }
    }
    return events;
}

Event ev(Kind kind, int arg = 0, int extra = 0) {
    Event e;
    e.kind = kind;
    e.arg = arg;
    e.extra = extra;
    return e;
}

// Settings dialog choices: key lighting on, or off (bit 2).
constexpr int kLightingOn = 0;
constexpr int kLightingOff = 4;

const std::vector<std::pair<const char*, std::vector<Event>>>& foundSequences() {
    static const std::vector<std::pair<const char*, std::vector<Event>>> rows{
        {"column back to 1 when a demonstration reads the next header",
         {ev(Kind::Lesson, 4), ev(Kind::Demo, 254), ev(Kind::PauseMenu), ev(Kind::PauseLabel),
          ev(Kind::Tick, 1173), ev(Kind::Tick, 2448), ev(Kind::Tick, 1920), ev(Kind::Tick, 2689)}},
        {"a message's end does not reach into the next lesson",
         {ev(Kind::Lesson, 5), ev(Kind::Lesson, 1), ev(Kind::Tick, 3500)}},
        {"the line after a message is typed from its first column",
         {ev(Kind::Lesson, 3), ev(Kind::NextLine), ev(Kind::Demo, 234), ev(Kind::Tick, 751),
          ev(Kind::Tick, 2725)}},
        {"Shift released after the lighting was switched off goes dark",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::KeyDown, 16),
          ev(Kind::Settings, 0, kLightingOff), ev(Kind::KeyUp, 16)}},
        {"a demonstrated key does not leave the learner's key black",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::Lesson, 37), ev(Kind::Demo, 113),
          ev(Kind::PauseMenu), ev(Kind::KeyDown, 189), ev(Kind::KeyDown, 19), ev(Kind::Tick, 2991),
          ev(Kind::KeyDown, 52)}},
        {"a key held over the end of a lesson is released in the cleared colour",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::Lesson, 11), ev(Kind::KeyDown, 76),
          ev(Kind::NextLine), ev(Kind::NextLine), ev(Kind::NextLine), ev(Kind::NextLine),
          ev(Kind::KeyUp, 76)}},
        {"a Shift released without its press leaves the right Shift in the lesson's colour",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::Lesson, 43), ev(Kind::KeyUp, 16)}},
        {"Enter held over Stop is put out, not forgotten",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::Lesson, 3), ev(Kind::KeyDown, 13),
          ev(Kind::Stop), ev(Kind::KeyDown, 189)}},
        {"right Shift lit on its own and held with left Shift gets its colour back",
         {ev(Kind::Settings, 0, kLightingOn), ev(Kind::KeyDown, 1016), ev(Kind::KeyDown, 16),
          ev(Kind::KeyUp, 1016), ev(Kind::KeyUp, 16)}},
    };
    return rows;
}

qint64 envNumber(const char* name, qint64 fallback) {
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? value : fallback;
}

} // namespace

class TestStorm : public QObject {
    Q_OBJECT

private slots:
    // Sequences earlier storms found, each breaking a rule before its fault was mended.
    void foundSequencesKeepTheWindowSound_data() {
        QTest::addColumn<int>("row");
        const auto& rows = foundSequences();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QTest::newRow(rows[i].first) << static_cast<int>(i);
        }
    }

    void foundSequencesKeepTheWindowSound() {
        QFETCH(int, row);
        const std::vector<Event>& events = foundSequences()[static_cast<std::size_t>(row)].second;
        Storm storm;
        for (const Event& e : events) {
            const QStringList broken = storm.apply(e);
            QVERIFY2(broken.isEmpty(),
                     qPrintable(describe(e) + QStringLiteral(": ") + broken.join(u';')));
        }
        QCOMPARE(storm.refused(), 0); // every step still reaches its handler
    }

    void randomEventsKeepTheWindowSound() {
        const auto seed = static_cast<quint32>(envNumber("TIPORA_STORM_SEED", 20261208));
        const qint64 count = envNumber("TIPORA_STORM_EVENTS", 1000000);
        EventSource source(seed);
        Storm storm;
        std::vector<Event> events;
        events.reserve(static_cast<std::size_t>(count));
        std::set<int> downKeys;
        for (qint64 i = 0; i < count; ++i) {
            const Event e = source.next(storm.state(), downKeys);
            if (e.kind == Kind::KeyDown) {
                downKeys.insert(e.arg);
            } else if (e.kind == Kind::KeyUp) {
                downKeys.erase(e.arg);
            }
            events.push_back(e);
            const QStringList broken = storm.apply(e);
            if (broken.isEmpty()) {
                continue;
            }
            const QString rule = ruleName(broken.first());
            const std::vector<Event> shortest = shrink(events, rule);
            const auto again = replay(shortest);
            QStringList report;
            report << QStringLiteral("seed %1, event %2 of the storm broke \"%3\"")
                          .arg(seed)
                          .arg(i + 1)
                          .arg(broken.join(QStringLiteral("; ")));
            report << QStringLiteral("shortest sequence found (%1 events), on a fresh window "
                                     "with the storm's course, breaks \"%2\":")
                          .arg(shortest.size())
                          .arg(again ? again->rule : QStringLiteral("nothing (flaky)"));
            for (const Event& step : shortest) {
                report << QStringLiteral("  ") + describe(step);
            }
            QFAIL(qPrintable(report.join(u'\n')));
        }
    }
};

QTEST_GUILESS_MAIN(TestStorm)
#include "test_storm.moc"
