#include "app/frm_tipora_form.h"

#include "app/texts.h"
#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"
#include "ground/utf8.h"

namespace tipora {

namespace {

const FontSpec kWindowFont{FontFace::Serif, 11.25, false};
const FontSpec kExerciseFont{FontFace::Mono, 9.75, false};
const FontSpec kHintFont{FontFace::Serif, 9, false};

Control label(const char* name, const QString& text, Geometry geometry, Align align = Align::Left,
              FontSpec font = kWindowFont) {
    Control c = makeControl(name, ControlKind::Label, text, geometry, font);
    c.align = align;
    return c;
}

Control image(const char* name, Picture picture, Geometry geometry, bool visible = true) {
    Control c = makeControl(name, ControlKind::Image, {}, geometry);
    c.picture = picture;
    c.visible = visible;
    return c;
}

Control hint(const char* name, const QString& text, Geometry geometry, Align align) {
    Control c = label(name, text, geometry, align, kHintFont);
    c.back = kYellow;
    c.fore = kSystemText;
    c.visible = false;
    return c;
}

Control textBox(const char* name, Geometry geometry, Color back, FontSpec font) {
    return makeControl(name, ControlKind::TextBox, {}, geometry, font, back);
}

Control line(const char* name, int x1, int y, int x2) {
    Control c = makeControl(name, ControlKind::Line, {}, {x1, y, x2 - x1, 0}, {}, kBlack, kBlack);
    c.lineWidth = 2;
    return c;
}

Control keyLabel(const KeyDef& key) {
    Control c;
    c.name = QStringLiteral("lblKlavesa");
    c.index = key.code;
    c.kind = ControlKind::Label;
    c.text = fromUtf8(key.caption);
    c.geometry = {key.left, key.top, key.width, key.height};
    c.back = kWhite;
    c.fore = kBlack;
    c.font = {FontFace::Sans, key.code == kKeyCapsLock ? 9.0 : 9.75, true};
    c.border = true;
    return c;
}

MenuItem menu(const QString& name, const QString& caption, bool enabled = true) {
    return MenuItem{name, caption, enabled};
}

} // namespace

FrmTiporaForm::FrmTiporaForm() {
    window.title = texts::kProgramTitle;
    window.width = kMainClientWidth;
    window.height = kMainClientHeight;

    txtPopisLekce = textBox("txtPopisLekce", {120, 120, 7575, 1335}, kBlack, kWindowFont);
    lblTime = label("lblTime", {}, {5880, 1560, 735, 255}, Align::Center);
    lblTimeP = label("lblTimeP", {}, {6840, 1560, 735, 255}, Align::Center);
    lblTime.growsLeft = true;
    lblTimeP.growsLeft = true;
    imgPrsty = image("imgPrsty", Picture::FingerGuide, {480, 1800, 4845, 1260});

    const QString zero = QStringLiteral("0");
    lblChyby = label("lblChyby", zero, {5760, 1920, 735, 255}, Align::Right);
    lblPopiska004 = label("lblPopiska004", QStringLiteral("chyb"), {6600, 1920, 1095, 255});
    lblChybyNaRadek = label("lblChybyNaRadek", zero, {5760, 2160, 735, 255}, Align::Right);
    lblPopiska005 = label("lblPopiska005", QStringLiteral("chyb / řádek"), {6600, 2160, 1095, 255});
    lblRadky = label("lblRadky", zero, {5760, 2400, 735, 255}, Align::Right);
    lblPopiska003 = label("lblPopiska003", QStringLiteral("řádků"), {6600, 2400, 1095, 255});
    lblUhozy = label("lblUhozy", zero, {5760, 2640, 735, 255}, Align::Right);
    lblPopiska001 = label("lblPopiska001", QStringLiteral("úhozů"), {6600, 2640, 1095, 255});
    lblUhozyVMin = label("lblUhozyVMin", zero, {5760, 2880, 735, 255}, Align::Right);
    lblPopiska002 = label("lblPopiska002", QStringLiteral("úhozů / min"), {6600, 2880, 1095, 255});

    lblZadani = label("lblZadani", {}, {120, 3240, 7215, 255}, Align::Left, kExerciseFont);
    lblZadani.back = kBlue;
    // The return arrow stays black on black until a finished line colours it.
    lblEnter = label("lblEnter", QStringLiteral("\u21B5"), {7320, 3240, 255, 255}, Align::Left,
                     {FontFace::Symbol, 12, true});
    lblEnter.fore = kBlack;
    lblCiselnik =
        label("lblCiselnik",
              QStringLiteral("1···5···10···15···20···25···30···35···40···45···50···55···60"),
              {120, 3480, 7215, 255}, Align::Left, kExerciseFont);
    shpKurzor.name = QStringLiteral("shpKurzor");
    shpKurzor.kind = ControlKind::Shape;
    shpKurzor.geometry = {120, 3480, 135, 255};
    shpKurzor.back = kBlue;
    shpKurzor.fore = kBlue;
    txtVstup = textBox("txtVstup", {120, 3720, 7575, 255}, kBlue, kExerciseFont);
    txtVstup.slides = true; // it is also the preview panel
    txtVstup.showsEndOfLongText = true;

    for (const KeyDef& key : kKeyTable) {
        lblKlavesa.emplace(key.code, keyLabel(key));
    }
    linF = line("linF", 2640, 5280, 2880);
    linJ = line("linJ", 4080, 5280, 4320);

    imgDalsi = image("imgDalsi", Picture::NextLine, {6720, 3960, 480, 480}, false);
    imgVysunNahled = image("imgVysunNahled", Picture::SlideOut, {7200, 3960, 480, 480});
    imgZasunNahled = image("imgZasunNahled", Picture::SlideIn, {7200, 5880, 480, 480}, false);
    lblNapoveda001 = hint("lblNapoveda001", QStringLiteral("vysuň náhled"), {6720, 4440, 975, 255},
                          Align::Right);
    lblNapoveda004 =
        hint("lblNapoveda004", QStringLiteral("další řádek"), {6720, 4440, 855, 255}, Align::Left);
    imgMetronom = image("imgMetronom", Picture::Loudspeaker, {240, 6000, 360, 330});
    lblNapoveda003 =
        hint("lblNapoveda003", QStringLiteral("metronom"), {600, 6120, 735, 255}, Align::Right);
    lblPause = label("lblPause", QStringLiteral("Pauza"), {5040, 6000, 615, 255}, Align::Center,
                     {FontFace::Serif, 11.25, true});
    lblNapoveda002 = hint("lblNapoveda002", QStringLiteral("zasuň náhled"), {6240, 6120, 975, 255},
                          Align::Right);

    mnuLekce = menu(QStringLiteral("mnuLekce"), QStringLiteral("Lekce"));
    for (std::size_t i = 0; i < kSubmenus.size(); ++i) {
        lessonSubmenus[i] = menu(fromUtf8(kSubmenus[i].name), fromUtf8(kSubmenus[i].caption));
    }
    for (int n = 1; n <= kLessonItemCount; ++n) {
        mnuLekceN[static_cast<std::size_t>(n - 1)] = menu(lessonMenuName(n), lessonCaption(n));
    }
    mnuSlabeKlavesy =
        menu(QStringLiteral("mnuSlabeKlavesy"), QStringLiteral("Procvičit slabé klávesy"));
    mnuVlastniText = menu(QStringLiteral("mnuVlastniText"), QStringLiteral("Vlastní text…"));
    mnuStop = menu(QStringLiteral("mnuStop"), QStringLiteral("Stop"), false);
    mnuPause = menu(QStringLiteral("mnuPause"), QStringLiteral("Pauza"), false);
    mnuDemo = menu(QStringLiteral("mnuDemo"), QStringLiteral("Ukázka"), false);
    mnuNastaveni = menu(QStringLiteral("mnuNastavení"), QStringLiteral("Nastavení"));
    mnuVysledky = menu(QStringLiteral("mnuVysledky"), QStringLiteral("Výsledky"));
    mnuZkouska = menu(QStringLiteral("mnuZkouska"), QStringLiteral("Zkouška"));
    mnuExit = menu(QStringLiteral("mnuExit"), QStringLiteral("Exit"));
    mnuOProgramu = menu(QStringLiteral("mnuOProgramu"), QStringLiteral("O Programu"));
}

void FrmTiporaForm::arrangeForQwerty() {
    Geometry& y = klavesa(kKeyY)->geometry;
    y.left += kQwertyYMoveRight;
    y.top += kQwertyYMoveDown;
    Geometry& z = klavesa(kKeyZ)->geometry;
    z.left -= kQwertyYMoveRight;
    z.top -= kQwertyYMoveDown;
}

Control* FrmTiporaForm::klavesa(int code) {
    const auto it = lblKlavesa.find(code);
    return it == lblKlavesa.end() ? nullptr : &it->second;
}

std::vector<Control*> FrmTiporaForm::controls() {
    std::vector<Control*> all{
        &txtPopisLekce,   &lblTime,       &lblTimeP,  &imgPrsty,      &lblChyby,    &lblPopiska004,
        &lblChybyNaRadek, &lblPopiska005, &lblRadky,  &lblPopiska003, &lblUhozy,    &lblPopiska001,
        &lblUhozyVMin,    &lblPopiska002, &lblZadani, &lblEnter,      &lblCiselnik, &shpKurzor};
    // Enter goes under ")" so that the two labels together read as one L-shaped key.
    all.push_back(klavesa(kKeyEnter));
    for (const KeyDef& key : kKeyTable) {
        if (key.code != kKeyEnter) {
            all.push_back(klavesa(key.code));
        }
    }
    // The input line slides down over the keyboard (and the next-line button) as the preview,
    // so it lies above them; the slide buttons and the hints lie above it.
    for (Control* c :
         {&linF, &linJ, &imgDalsi, &txtVstup, &imgVysunNahled, &imgZasunNahled, &imgMetronom,
          &lblPause, &lblNapoveda001, &lblNapoveda004, &lblNapoveda003, &lblNapoveda002}) {
        all.push_back(c);
    }
    return all;
}

std::vector<MenuItem*> FrmTiporaForm::topMenuItems() {
    return {&mnuStop,     &mnuPause,   &mnuDemo, &mnuNastaveni,
            &mnuVysledky, &mnuZkouska, &mnuExit, &mnuOProgramu};
}

MenuItem* FrmTiporaForm::menuItem(QStringView name) {
    if (mnuLekce.name == name) {
        return &mnuLekce;
    }
    for (auto& item : lessonSubmenus) {
        if (item.name == name) {
            return &item;
        }
    }
    for (auto& item : mnuLekceN) {
        if (item.name == name) {
            return &item;
        }
    }
    for (MenuItem* item : {&mnuSlabeKlavesy, &mnuVlastniText}) {
        if (item->name == name) {
            return item;
        }
    }
    for (MenuItem* item : topMenuItems()) {
        if (item->name == name) {
            return item;
        }
    }
    return nullptr;
}

} // namespace tipora
