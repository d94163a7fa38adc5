#include "dialogs/frm_nastaveni.h"

#include "app/platform.h"
#include "app/settings_file.h"
#include "app/texts.h"
#include "dialogs/numeric_box.h"

#include <utility>

namespace tipora {

namespace {

Control make(const char* name, ControlKind kind, const QString& text, Geometry geometry,
             FontSpec font = {FontFace::Serif, 11.25, false}) {
    return makeControl(name, kind, text, geometry, font, kDialogBrown);
}

} // namespace

FrmNastaveni::FrmNastaveni(Promenne& shared, Platform& platform, QString settingsPath,
                           bool createSettingsFolder)
    : shared_(shared), platform_(platform), settingsPath_(std::move(settingsPath)),
      createSettingsFolder_(createSettingsFolder) {
    window.title = QStringLiteral("Nastavení");
    window.width = kNastaveniClientWidth;
    window.height = kNastaveniClientHeight;

    // Controls inside a frame are placed from the frame's corner.
    FraMetronom =
        make("FraMetronom", ControlKind::Frame, QStringLiteral("Metronom"), {120, 120, 4815, 735});
    txtMetronom = make("txtMetronom", ControlKind::EditBox, {}, {240, 480, 615, 255});
    txtMetronom.back = kBlue;
    vsbMetronom = make("vsbMetronom", ControlKind::ScrollBar, {}, {840, 480, 255, 255});
    vsbMetronom.minimum = kMetronomeMinTempo;
    vsbMetronom.maximum = kMetronomeMaxTempo;
    vsbMetronom.value = kMetronomeMinTempo;
    lblPopiska001 = make("lblPopiska001", ControlKind::Label, QStringLiteral("úhozů / min"),
                         {1200, 480, 1095, 255});
    FraAudio = make("FraAudio", ControlKind::Frame, QStringLiteral("Zvukový signál"),
                    {120, 960, 4815, 975});
    chkPipKlavesa = make("chkPipKlavesa", ControlKind::CheckBox,
                         QStringLiteral("při stisku klávesy"), {240, 1320, 2415, 255});
    chkPipChyba = make("chkPipChyba", ControlKind::CheckBox, QStringLiteral("při chybě"),
                       {240, 1560, 2415, 255});
    FraVizual = make("FraVizual", ControlKind::Frame, QStringLiteral("Vizuální odezva"),
                     {120, 2040, 4815, 735});
    chkOdezvaKlaves = make("chkOdezvaKlaves", ControlKind::CheckBox,
                           QStringLiteral("při stisku klávesy (doporučuji do 300 úhozů / min)"),
                           {240, 2400, 4575, 255}, {FontFace::Serif, 9.75, false});
    cmdSave = make("cmdSave", ControlKind::Button, QStringLiteral("Ulož nastavení"),
                   {120, 2880, 1455, 255});
    cmdOK = make("cmdOK", ControlKind::Button, QStringLiteral("OK"), {3600, 2880, 615, 255});
    cmdZrus = make("cmdZrus", ControlKind::Button, QStringLiteral("Zruš"), {4320, 2880, 615, 255});
}

void FrmNastaveni::Form_Load() {
    window.mousePointer = MousePointer::Hourglass;
    window.centreOn(platform_.screenSizeTwips());

    const auto fill = [this]() -> bool {
        NovyMetronom =
            static_cast<std::int16_t>(std::clamp(shared_.Metronom.value(), -32768, 32767));
        txtMetronom.text =
            shared_.Metronom.isSet() ? QString::number(shared_.Metronom.value()) : QString();
        const int tempo = shared_.Metronom.value();
        if (tempo < kMetronomeMinTempo || tempo > kMetronomeMaxTempo) {
            return false;
        }
        setScrollValue(tempo);
        for (auto [box, setting] : {std::pair{&chkPipKlavesa, &shared_.PipKlavesa},
                                    std::pair{&chkPipChyba, &shared_.PipChyba},
                                    std::pair{&chkOdezvaKlaves, &shared_.OdezvaKlaves}}) {
            const int value = setting->value();
            if (value < 0 || value > 2) {
                return false;
            }
            box->value = value;
        }
        return true;
    };
    if (!fill()) {
        platform_.messageBox(texts::kSettingsMissing, texts::kMessageTitle, MessageButtons::Ok);
    }
    window.mousePointer = MousePointer::Default;
}

void FrmNastaveni::txtMetronom_KeyUp(int keyCode) {
    if (const auto tempo =
            acceptNumericBoxKey(txtMetronom, keyCode, kMetronomeMinTempo, kMetronomeMaxTempo)) {
        NovyMetronom = static_cast<std::int16_t>(*tempo);
        setScrollValue(*tempo);
    }
}

void FrmNastaveni::setScrollValue(int value) {
    if (moveScrollBar(vsbMetronom, value)) {
        vsbMetronom_Change();
    }
}

void FrmNastaveni::vsbMetronom_Change() {
    NovyMetronom = static_cast<std::int16_t>(vsbMetronom.value);
    txtMetronom.text = QString::number(vsbMetronom.value);
}

int FrmNastaveni::tempoToKeep() const {
    if (NovyMetronom >= kMetronomeMinTempo) {
        return NovyMetronom;
    }
    const int inForce = shared_.Metronom.value();
    return inForce >= kMetronomeMinTempo && inForce <= kMetronomeMaxTempo ? inForce
                                                                          : kMetronomeDefaultTempo;
}

void FrmNastaveni::cmdOK_Click() {
    shared_.Metronom = tempoToKeep();
    shared_.PipKlavesa = chkPipKlavesa.value;
    shared_.PipChyba = chkPipChyba.value;
    shared_.OdezvaKlaves = chkOdezvaKlaves.value;
    closed_ = true;
}

void FrmNastaveni::cmdZrus_Click() {
    closed_ = true;
}

void FrmNastaveni::cmdSave_Click() {
    window.mousePointer = MousePointer::Hourglass;
    saveSettings(platform_, settingsPath_,
                 {tempoToKeep(), chkOdezvaKlaves.value, chkPipChyba.value, chkPipKlavesa.value},
                 createSettingsFolder_);
    window.mousePointer = MousePointer::Default;
}

ControlHandlers FrmNastaveni::clickHandlers() {
    return {{&cmdOK, [this] { cmdOK_Click(); }},
            {&cmdZrus, [this] { cmdZrus_Click(); }},
            {&cmdSave, [this] { cmdSave_Click(); }}};
}

std::vector<Control*> FrmNastaveni::controls() {
    return {&FraMetronom,     &FraAudio,      &FraVizual,     &txtMetronom,
            &vsbMetronom,     &lblPopiska001, &chkPipKlavesa, &chkPipChyba,
            &chkOdezvaKlaves, &cmdOK,         &cmdZrus,       &cmdSave};
}

} // namespace tipora
