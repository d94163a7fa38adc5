#pragma once

#include <QString>
#include <array>
#include <optional>

// What the results history says to the learner, exactly as shown.
namespace tipora::texts {

inline const QString kResultsFileName = QStringLiteral("vysledky.sqlite");

// The store's failures: the history is switched off and the tutor goes on without it.
inline QString resultsNotStored(const QString& path, const QString& reason) {
    return QStringLiteral("Výsledky se nepodařilo uložit do souboru %1 (%2). Až do konce "
                          "programu se nebudou ukládat; soubor zůstal beze změny.")
        .arg(path, reason);
}
inline const QString kReasonCannotOpen = QStringLiteral("soubor nelze otevřít");
inline const QString kReasonNotResults = QStringLiteral("soubor není databáze výsledků");
inline const QString kReasonNewer = QStringLiteral("soubor je z novější verze programu");
inline const QString kReasonDamaged = QStringLiteral("soubor je poškozený");
inline const QString kReasonCannotWrite = QStringLiteral("do souboru nelze zapisovat");
inline const QString kReasonBusy = QStringLiteral("soubor je příliš dlouho zamčený");
// The part of the program that keeps the history is missing or broken.
inline const QString kReasonNoModule = QStringLiteral("nepodařilo se načíst modul výsledků");
inline QString resultsUnavailable(const QString& moduleFile) {
    return QStringLiteral("Výsledky nelze zobrazit: nepodařilo se načíst modul výsledků %1.")
        .arg(moduleFile);
}

// The results window.
inline const QString kResultsTitle = QStringLiteral("Výsledky");
inline const QString kAllLessons = QStringLiteral("Všechny lekce");
inline const QString kDrills = QStringLiteral("Procvičení slabých kláves");
inline const QString kOwnTexts = QStringLiteral("Vlastní texty");
inline const QString kExams = QStringLiteral("Zkoušky");
// "Opis: Zima na horách (10 min, penalizace 10), známka 2"
inline QString examCaption(const QString& title, int minutes, int penalty,
                           const std::optional<int>& grade) {
    QString caption =
        QStringLiteral("Opis: %1 (%2 min, penalizace %3)").arg(title).arg(minutes).arg(penalty);
    if (grade) {
        caption +=
            *grade == 0 ? QStringLiteral(", nevyhověl") : QStringLiteral(", známka %1").arg(*grade);
    }
    return caption;
}
inline QString lessonChoice(int lesson, const QString& caption) {
    return QStringLiteral("Lekce %1: %2").arg(lesson, 2, 10, QLatin1Char('0')).arg(caption);
}
inline const std::array<QString, 7> kTableHeader{
    QStringLiteral("Datum"),       QStringLiteral("Lekce"),        QStringLiteral("Čas"),
    QStringLiteral("Úhozů / min"), QStringLiteral("Chyb / řádek"), QStringLiteral("Řádků"),
    QStringLiteral("Dokončena")};
// The speed is this lesson's own: its keystrokes over its own time, to its end or to Stop.
// The main window's counter adds up every lesson since the statistics were last cleared, and
// stands still from the last keystroke to Stop, so after the first lesson the two differ.
inline const QString kSpeedHeaderHint =
    QStringLiteral("Úhozy této lekce za její vlastní čas až do jejího konce nebo do Stop. "
                   "Počítadlo v hlavním okně sčítá všechny lekce od smazání statistiky.");
inline QString speedHint(int keystrokes, int seconds, int perMinute) {
    return QStringLiteral("%1 úhozů za %2 s = %3 úhozů za minutu")
        .arg(keystrokes)
        .arg(seconds)
        .arg(perMinute);
}
inline const QString kYes = QStringLiteral("ano");
inline const QString kNo = QStringLiteral("ne");
inline const QString kSpeedSeries = QStringLiteral("úhozů / min");
inline const QString kErrorsSeries = QStringLiteral("chyb / řádek");
inline const QString kBestSeries = QStringLiteral("nejlepší rychlost lekce");
inline const QString kResultAxis = QStringLiteral("lekce v pořadí, jak byly psány");
inline const QString kExportCsv = QStringLiteral("Uložit jako CSV…");
inline const QString kDeleteHistory = QStringLiteral("Smazat historii");
inline const QString kClose = QStringLiteral("Zavřít");
inline const QString kNoResults = QStringLiteral("Zatím tu nejsou žádné výsledky.");
inline const QString kDeleteQuestion = QStringLiteral("Chceš smazat všechny uložené výsledky?");
inline const QString kExportDialogTitle = QStringLiteral("Uložit výsledky");
inline const QString kCsvFilter = QStringLiteral("Soubory CSV (*.csv)");
inline const QString kCsvDefaultName = QStringLiteral("vysledky.csv");
inline QString csvNotWritten(const QString& path) {
    return QStringLiteral("Soubor %1 se nepodařilo uložit.").arg(path);
}
inline const QString kHistoryNotDeleted = QStringLiteral("Historii se nepodařilo smazat.");

// The export: the header line and the keyboard types in words.
inline const QString kCsvHeader =
    QStringLiteral("Datum;Lekce;Název lekce;Klávesnice;Čas;Úhozy;Chyby;Řádky;Úhozů za minutu;"
                   "Chyb na řádek;Dokončena");
inline const QString kKeyboardQwertz = QStringLiteral("česká");
inline const QString kKeyboardQwerty = QStringLiteral("česká (QWERTY)");

// The "Klávesnice" view of the results window.
inline const QString kLessonsTab = QStringLiteral("Lekce");
inline const QString kKeyboardTab = QStringLiteral("Klávesnice");
inline const QString kPeriodLabel = QStringLiteral("Období:");
// In the order of HeatPeriod.
inline const std::array<QString, 3> kPeriods{QStringLiteral("Poslední lekce"),
                                             QStringLiteral("Posledních 7 dní"),
                                             QStringLiteral("Celá historie")};
inline const QString kNoKeyFigures = QStringLiteral("Zatím žádné údaje");
inline const QString kKeyFiguresUnreadable =
    QStringLiteral("Údaje o jednotlivých klávesách nelze přečíst, soubor výsledků je poškozený. "
                   "Výsledky lekcí to neovlivnilo.");
inline const QString kKeyHint =
    QStringLiteral("Najeď myší na klávesu nebo na ni přejdi klávesou Tab a šipkami.");
inline const QString kWeakestTitle = QStringLiteral("Nejvíc chyb");
inline const QString kSlowestTitle = QStringLiteral("Nejpomalejší");
inline QString rankedKeysNote(int minimumStrokes) {
    return QStringLiteral("klávesy s aspoň %1 úhozy").arg(minimumStrokes);
}
inline const QString kLegendTitle = QStringLiteral("Chybovost:");
inline const QString kLegendNone = QStringLiteral("bez úhozů");
inline QString legendBelow(const QString& percent) {
    return QStringLiteral("pod %1 %").arg(percent);
}
inline QString legendBetween(const QString& from, const QString& to) {
    return QStringLiteral("%1 až %2 %").arg(from, to);
}
inline QString legendFrom(const QString& percent) {
    return QStringLiteral("%1 % a více").arg(percent);
}
inline const QString kDrillWeakKeys = QStringLiteral("Procvičit slabé klávesy");

// What hovering a key tells: "ř: 212 úhozů, 9 chyb (4,2 %), průměrně 310 ms; nejčastěji
// zaměněno za ž (5×)". Czech nouns after a number: 1 úhoz, 2 až 4 úhozy, 0 and 5 or more úhozů.
inline QString strokesCounted(const QString& number, int n) {
    return number + (n == 1             ? QStringLiteral(" úhoz")
                     : n >= 2 && n <= 4 ? QStringLiteral(" úhozy")
                                        : QStringLiteral(" úhozů"));
}
inline QString errorsCounted(const QString& number, int n) {
    return number + (n == 1             ? QStringLiteral(" chyba")
                     : n >= 2 && n <= 4 ? QStringLiteral(" chyby")
                                        : QStringLiteral(" chyb"));
}
inline QString keyFigures(const QString& characters, const QString& strokes, const QString& errors,
                          const QString& percent) {
    return QStringLiteral("%1: %2, %3 (%4 %)").arg(characters, strokes, errors, percent);
}
inline QString keyMeanTime(const QString& milliseconds) {
    return QStringLiteral(", průměrně %1 ms").arg(milliseconds);
}
inline QString keyConfusion(const QString& character, const QString& times) {
    return QStringLiteral("; nejčastěji zaměněno za %1 (%2×)").arg(character, times);
}
inline QString keyWithoutStrokes(const QString& key) {
    return QStringLiteral("%1: bez úhozů").arg(key);
}
// A character made with more than its key: "R (Shift)", "Ó (´ + Shift)".
inline QString characterWithKeys(const QString& character, const QString& keys) {
    return QStringLiteral("%1 (%2)").arg(character, keys);
}
inline const QString kShiftKey = QStringLiteral("Shift");
inline const QString kEnterName = QStringLiteral("Enter");
inline const QString kSpaceName = QStringLiteral("mezerník");
inline const QString kTabName = QStringLiteral("Tab");
inline const QString kBackspaceName = QStringLiteral("Backspace");
inline const QString kEscapeName = QStringLiteral("Esc");
inline const QString kOtherCharacterName = QStringLiteral("jiný znak");
inline QString weakestEntry(const QString& key, const QString& percent) {
    return QStringLiteral("%1: %2 %").arg(key, percent);
}
inline QString slowestEntry(const QString& key, const QString& milliseconds) {
    return QStringLiteral("%1: %2 ms").arg(key, milliseconds);
}

} // namespace tipora::texts
