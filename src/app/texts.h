#pragma once

#include <QString>

// What the main window says to the learner, exactly as shown.
namespace tipora::texts {

inline const QString kProgramTitle = QStringLiteral("Tipora 1.5");
// During a lesson the title names it: "Tipora 1.5 - f j d k".
inline QString lessonWindowTitle(const QString& lessonCaption) {
    return kProgramTitle + QStringLiteral(" - ") + lessonCaption;
}
// Message boxes have always carried the older version in their title.
inline const QString kMessageTitle = QStringLiteral("Tipora 1.0");
inline const QString kSettingsMissing = QStringLiteral("Chybí nastavovací soubor tipora.ini");
inline const QString kSettingsNotSaved =
    QStringLiteral("Nastavení se nepodařilo uložit do souboru tipora.ini. Původní soubor "
                   "zůstal beze změny.");
inline const QString kError = QStringLiteral("Error");
inline const QString kSettingsFileName = QStringLiteral("tipora.ini");

} // namespace tipora::texts
