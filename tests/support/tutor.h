#pragma once

#include "ground/windows1250.h"
#include "support/fake_platform.h"
#include "support/lesson_folder.h"
#include "support/observed.h"
#include "support/virtual_clock.h"
#include "window/frm_tipora.h"

#include <memory>

namespace tipora::test {

// The main window loaded over a small course, with a virtual clock for its timers.
struct Tutor {
    explicit Tutor(const QByteArray& ini = " 100  0  0  0 \r\n") {
        folder.writeIni(ini);
        folder.writeCourse();
        shared.TypKlavesnice = 1;
        window = std::make_unique<FrmTipora>(shared, platform, QDir(folder.path()));
        window->Form_Load();
        clock = std::make_unique<VirtualClock>(window->timerHandlers());
        platform.elapsed = [this] { return clock->now(); };
    }

    void rewrite() { folder.writeCourse(); }

    void type(const QString& text) {
        for (QChar c : text) {
            window->Form_KeyPress(windows1250Code(QStringView(&c, 1)));
        }
    }

    void typeLine(const QString& text) {
        type(text);
        window->Form_KeyPress(13);
    }

    FrmTipora& w() { return *window; }
    Observed s() const { return observe(*window); }
    FrmTiporaForm& f() { return window->form; }

    LessonFolder folder;
    Promenne shared;
    FakePlatform platform;
    std::unique_ptr<FrmTipora> window;
    std::unique_ptr<VirtualClock> clock;
};

} // namespace tipora::test
