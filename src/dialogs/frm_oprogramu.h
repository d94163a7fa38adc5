#pragma once

#include "app/form_model.h"

#include <vector>

namespace tipora {

class Platform;

inline constexpr int kOProgramuClientWidth = 4110;
inline constexpr int kOProgramuClientHeight = 2550;

// The about box: one picture on a black margin; a click anywhere or a typed key closes it.
class FrmOProgramu {
public:
    explicit FrmOProgramu(Platform& platform);
    FrmOProgramu(const FrmOProgramu&) = delete;
    FrmOProgramu& operator=(const FrmOProgramu&) = delete;

    WindowState window;
    Control imgInfo;
    // Under the picture, only in a classroom: the class and the student's name.
    Control lblTrida;

    void Form_Load();
    // A class is set up: the box grows by a line that names it. Before Form_Load.
    void showClassroom(const QString& line);
    void imgInfo_Click();
    void Form_Click();
    // Every key that types a character; Shift or an arrow alone never gets here.
    void Form_KeyPress(int KeyAscii);

    bool closed() const { return closed_; }
    std::vector<Control*> controls() { return {&imgInfo, &lblTrida}; }
    ControlHandlers clickHandlers() {
        return {{&imgInfo, [this] { imgInfo_Click(); }}};
    }

private:
    Platform& platform_;
    bool closed_ = false;
};

} // namespace tipora
