#pragma once

#include "app/form_model.h"

#include <QStringView>
#include <array>
#include <map>
#include <vector>

namespace tipora {

inline constexpr int kMainClientWidth = 7815;
inline constexpr int kMainClientHeight = 6540;
inline constexpr int kLessonItemCount = 50;
// The exercise row, the ruler and the input line: 60 cells of kColumnWidth from Left 120; the
// cursor stands at 120 × column, and the Enter mark rests out of sight at 7320.
inline constexpr int kFirstColumnLeft = 120;
// Where the cursor stands over column 1, 2, …
constexpr int columnLeft(int column) {
    return kFirstColumnLeft + (column - 1) * kColumnWidth;
}
inline constexpr int kEnterMarkRestLeft = 7320;

// The main window as the handlers see it: every control, menu item and timer by its name, in
// the state the window is created in.
class FrmTiporaForm {
public:
    FrmTiporaForm();
    FrmTiporaForm(const FrmTiporaForm&) = delete;
    FrmTiporaForm& operator=(const FrmTiporaForm&) = delete;

    WindowState window;

    Control txtPopisLekce;
    Control lblTime;
    Control lblTimeP;
    Control imgPrsty;
    Control lblChyby;
    Control lblPopiska004;
    Control lblChybyNaRadek;
    Control lblPopiska005;
    Control lblRadky;
    Control lblPopiska003;
    Control lblUhozy;
    Control lblPopiska001;
    Control lblUhozyVMin;
    Control lblPopiska002;
    Control lblZadani;
    Control lblEnter;
    Control lblCiselnik;
    Control shpKurzor;
    Control txtVstup;
    std::map<int, Control> lblKlavesa;
    Control linF;
    Control linJ;
    Control imgDalsi;
    Control imgVysunNahled;
    Control imgZasunNahled;
    Control lblNapoveda001;
    Control lblNapoveda004;
    Control imgMetronom;
    Control lblNapoveda003;
    Control lblPause;
    Control lblNapoveda002;

    MenuItem mnuLekce;
    std::array<MenuItem, 6> lessonSubmenus;           // mnuSPR … mnuZZC
    std::array<MenuItem, kLessonItemCount> mnuLekceN; // mnuLekce01 … mnuLekce50
    MenuItem mnuSlabeKlavesy;                         // after the lessons and a separator
    MenuItem mnuVlastniText;
    MenuItem mnuStop;
    MenuItem mnuPause;
    MenuItem mnuDemo;
    MenuItem mnuNastaveni;
    MenuItem mnuVysledky;
    MenuItem mnuZkouska;
    MenuItem mnuExit;
    MenuItem mnuOProgramu;

    ModelTimer tmrTime{QStringLiteral("tmrTime"), 500, true, Timing::WallClock};
    ModelTimer tmrTimeP{QStringLiteral("tmrTimeP"), 1000, false};
    ModelTimer tmrText{QStringLiteral("tmrText"), 3000, false};
    ModelTimer tmrDemo{QStringLiteral("tmrDemo"), 600, false, Timing::Precise};
    ModelTimer tmrDemoClick{QStringLiteral("tmrDemoClick"), 10, false, Timing::Precise};
    ModelTimer tmrMetronom{QStringLiteral("tmrMetronom"), 1, false, Timing::Precise};

    // "česká (QWERTY)": y moves up into the upper row and z down into the lower one.
    void arrangeForQwerty();

    // The label of a key code, or nullptr where the keyboard has none.
    Control* klavesa(int code);

    // Every control, bottom of the stack first: a later control is drawn over an earlier one.
    std::vector<Control*> controls();
    // The top-level items of the menu bar after "Lekce", in menu order.
    std::vector<MenuItem*> topMenuItems();

    MenuItem* menuItem(QStringView name);
};

} // namespace tipora
