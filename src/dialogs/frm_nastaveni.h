#pragma once

#include "app/form_model.h"
#include "app/promenne.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace tipora {

class Platform;

inline constexpr int kNastaveniClientWidth = 5055;
inline constexpr int kNastaveniClientHeight = 3255;

// "Nastavení": the metronome tempo, the two beeps and the visual response. OK applies the
// values, Zruš discards them, Ulož nastavení writes them to the settings file for the next
// start without applying them.
class FrmNastaveni {
public:
    // settingsPath: where "Ulož nastavení" writes; createSettingsFolder: its folder is made
    // first (the per-user folder, before the first save).
    FrmNastaveni(Promenne& shared, Platform& platform, QString settingsPath,
                 bool createSettingsFolder = false);
    FrmNastaveni(const FrmNastaveni&) = delete;
    FrmNastaveni& operator=(const FrmNastaveni&) = delete;

    WindowState window;
    Control FraMetronom;
    Control txtMetronom;
    Control vsbMetronom;
    Control lblPopiska001;
    Control FraAudio;
    Control chkPipKlavesa;
    Control chkPipChyba;
    Control FraVizual;
    Control chkOdezvaKlaves;
    Control cmdSave;
    Control cmdOK;
    Control cmdZrus;

    std::int16_t NovyMetronom = 0;

    void Form_Load();
    void txtMetronom_KeyUp(int keyCode);
    void vsbMetronom_Change();
    void cmdOK_Click();
    void cmdZrus_Click();
    void cmdSave_Click();

    void setScrollValue(int value);

    ControlHandlers clickHandlers();
    ControlHandlers changeHandlers() {
        return {{&vsbMetronom, [this] { vsbMetronom_Change(); }}};
    }

    bool closed() const { return closed_; }
    // Frames first, so that the controls lying in them are drawn over them.
    std::vector<Control*> controls();

private:
    // The tempo to apply or save: the one accepted here, else the one in force, else the
    // default, so that no tempo of 0 ever reaches the metronome or the file.
    int tempoToKeep() const;

    Promenne& shared_;
    Platform& platform_;
    QString settingsPath_;
    bool createSettingsFolder_;
    bool closed_ = false;
};

} // namespace tipora
