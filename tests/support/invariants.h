#pragma once

#include "app/display_rules.h"
#include "ground/lesson_texts.h"
#include "keyboard/key_marking.h"
#include "support/fake_platform.h"
#include "support/observed.h"
#include "window/frm_tipora.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace tipora::test {

// What the learner's hands are doing, which the window cannot know by itself.
struct Hands {
    bool shiftHeld = false;  // either Shift key is down
    bool anyKeyHeld = false; // some key is down
};

// Rules the main window keeps after every event it handles, whatever came before. The checker
// follows the keyboard's lesson colours itself: tell it of every lesson chosen, before the
// choice runs; it notices the ends of lessons by the question each end asks.
class Invariants {
public:
    explicit Invariants(const FrmTipora& window, const FakePlatform& platform)
        : colours_(window.form.lblKlavesa), seenMessages_(platform.messages.size()) {}

    void lessonChosen(int lesson, const FrmTipora& w) {
        markLesson(lesson, colours_);
        messageStartsBeforeLesson_ = w.form.tmrText.restarts();
    }

    // Each broken rule as "rule: detail"; empty while the window is sound.
    QStringList broken(const FrmTipora& w, const FakePlatform& p, const Hands& hands) {
        for (; seenMessages_ < p.messages.size(); ++seenMessages_) {
            if (p.messages[seenMessages_].text == texts::kClearStatistics) {
                clearKeyboard(colours_);
            }
        }
        QStringList out;
        const auto fail = [&out](const char* rule, const QString& detail) {
            out << QStringLiteral("%1: %2").arg(QLatin1String(rule), detail);
        };
        const Observed s = observe(w);
        const FrmTiporaForm& f = w.form;

        // The on-screen keyboard: one key shown pressed at a time (the Shift pair aside while
        // Shift is held), and no key shown pressed, nor in a colour the lesson does not give
        // it, once the hands are off the keys and no demonstrated key is flashing.
        const bool flashing = f.tmrDemoClick.enabled();
        QStringList lit;
        for (const auto& [code, label] : f.lblKlavesa) {
            if (label.back != kBlack) {
                continue;
            }
            const bool shiftLabel = code == 16 || code == 1016;
            if (shiftLabel && !hands.shiftHeld && !flashing) {
                fail("shift-lit", QStringLiteral("Shift label %1 black, Shift is up").arg(code));
            }
            if (!shiftLabel) {
                lit << QString::number(code);
            }
        }
        if (lit.size() > 1) {
            fail("lit-keys", QStringLiteral("keys %1 all black").arg(lit.join(u',')));
        }
        if (!hands.anyKeyHeld && !flashing) {
            for (const auto& [code, label] : f.lblKlavesa) {
                const auto expected = colours_.find(code);
                if (expected != colours_.end() && label.back != expected->second.back) {
                    fail("key-colour",
                         QStringLiteral("key %1 is %2, the lesson gives it %3")
                             .arg(code)
                             .arg(colorName(label.back), colorName(expected->second.back)));
                }
            }
        }

        // Counters, in the state and on the labels.
        const bool counted = s.Chyby >= 0 && s.Radky >= 0 && s.Uhozy >= 0 && s.UhozyVMin >= 0 &&
                             s.TimeP >= 0 && std::isfinite(s.ChybyNaRadek) &&
                             s.ChybyNaRadek >= 0.0F;
        if (!counted) {
            fail("counters", QStringLiteral("Chyby %1 Radky %2 Uhozy %3 UhozyVMin %4 TimeP %5 "
                                            "ChybyNaRadek %6")
                                 .arg(s.Chyby)
                                 .arg(s.Radky)
                                 .arg(s.Uhozy)
                                 .arg(s.UhozyVMin)
                                 .arg(s.TimeP)
                                 .arg(s.ChybyNaRadek));
        }
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        for (const Control* label : {&f.lblChyby, &f.lblRadky, &f.lblUhozy, &f.lblUhozyVMin}) {
            if (!digits.match(label->text).hasMatch()) {
                fail("counter-label",
                     label->name + QStringLiteral(" shows \"") + label->text + u'"');
            }
        }
        for (const Control* label : {&f.lblChybyNaRadek, &f.lblTimeP}) {
            if (label->text.isEmpty() || label->text.contains(u'-') ||
                label->text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
                label->text.contains(QLatin1String("inf"), Qt::CaseInsensitive)) {
                fail("counter-label",
                     label->name + QStringLiteral(" shows \"") + label->text + u'"');
            }
        }
        // Outside a demonstration, which shows its own counts, the labels show the state.
        if (!s.Ukazka) {
            // Formatting times through the locale is slow; the values change seldom.
            if (s.TimeP != shownTimeP_ || s.ChybyNaRadek != shownPerLine_) {
                const QLocale locale = p.locale();
                shownTimeP_ = s.TimeP;
                shownPerLine_ = s.ChybyNaRadek;
                timeText_ = lessonTimeText(s.TimeP, locale);
                perLineText_ = errorsPerLineText(s.ChybyNaRadek, locale);
            }
            const std::pair<const Control*, QString> shown[] = {
                {&f.lblChyby, counterText(s.Chyby)}, {&f.lblRadky, counterText(s.Radky)},
                {&f.lblUhozy, counterText(s.Uhozy)}, {&f.lblUhozyVMin, counterText(s.UhozyVMin)},
                {&f.lblChybyNaRadek, perLineText_},  {&f.lblTimeP, timeText_}};
            for (const auto& [label, text] : shown) {
                if (label->text != text) {
                    fail("counter-shown", label->name + QStringLiteral(" shows \"") + label->text +
                                              QStringLiteral("\", the state holds \"") + text +
                                              u'"');
                }
            }
        }
        if (s.Pozice < 1 || s.Pozice > s.Zadani.size() + 1) {
            fail("column", QStringLiteral("Pozice %1 in a line of %2 characters")
                               .arg(s.Pozice)
                               .arg(s.Zadani.size()));
        }

        // The session's own rules, and the phase table as the window shows it.
        for (const QString& rule : w.session().brokenRules()) {
            fail("session", rule);
        }
        const PhaseRules& table = w.session().rules();
        if (f.mnuLekce.enabled != table.lessonMenu || f.mnuPause.enabled != table.pause ||
            f.mnuDemo.enabled != table.demo || f.mnuStop.enabled != w.session().stopEnabled()) {
            fail("menus", QStringLiteral("the menus differ from the table in phase %1")
                              .arg(QLatin1String(phaseName(w.session().phase()))));
        }

        // Timers run only when the state explains them.
        const bool clockShouldRun = (s.Spusteno || s.Ukazka) && !s.Pauza;
        if (f.tmrTimeP.enabled() != clockShouldRun) {
            fail("lesson-clock", QStringLiteral("tmrTimeP %1 with Spusteno %2 Ukazka %3 Pauza %4")
                                     .arg(f.tmrTimeP.enabled())
                                     .arg(s.Spusteno)
                                     .arg(s.Ukazka)
                                     .arg(s.Pauza));
        }
        // Paused, it beats only after the preview panel slid back in, which restarts a switched-on
        // metronome whatever the pause; the next pause toggle or Stop sets it right again.
        if (f.tmrMetronom.enabled() && !s.MetronomZapnut) {
            fail("metronome", QStringLiteral("tmrMetronom on while switched off"));
        }
        if (f.tmrDemo.enabled() && (!s.Ukazka || s.Pauza)) {
            fail("demo-timer",
                 QStringLiteral("tmrDemo on with Ukazka %1 Pauza %2").arg(s.Ukazka).arg(s.Pauza));
        }
        if (f.tmrDemoClick.enabled() && !s.Ukazka) {
            fail("demo-timer", QStringLiteral("tmrDemoClick on without a demonstration"));
        }
        // A message's three seconds run on when the learner skips past it, but only within the
        // lesson that showed it.
        if (f.tmrText.enabled() &&
            (!s.LekceNactena || f.tmrText.restarts() <= messageStartsBeforeLesson_)) {
            fail("message-timer", QStringLiteral("tmrText on while the row shows \"%1\" (%2)")
                                      .arg(f.lblZadani.text,
                                           s.LekceNactena ? QStringLiteral("from an earlier lesson")
                                                          : QStringLiteral("no lesson")));
        }
        if (!f.tmrTime.enabled()) {
            fail("time-of-day", QStringLiteral("tmrTime stopped"));
        }

        // Every handler has returned: no box is open, none was opened from inside another, and
        // the pointer is back to normal.
        if (p.modalDepth != 0 || p.nestedModals != 0 || p.callsUnderModal != 0) {
            fail("modal", QStringLiteral("depth %1, %2 modal calls made under another, %3 other "
                                         "requests under a box")
                              .arg(p.modalDepth)
                              .arg(p.nestedModals)
                              .arg(p.callsUnderModal));
        }
        if (f.window.mousePointer != MousePointer::Default) {
            fail("pointer", QStringLiteral("the hourglass stayed"));
        }
        return out;
    }

private:
    KeyLabels colours_;
    std::size_t seenMessages_;
    std::uint64_t messageStartsBeforeLesson_ = 0;
    int shownTimeP_ = -1;
    float shownPerLine_ = -1.0F;
    QString timeText_;
    QString perLineText_;
};

} // namespace tipora::test
