#pragma once

#include <QString>

// What the exam says to the learner and prints on its result sheet, exactly as shown.
namespace tipora::texts {

inline const QString kGrossStrokes = QStringLiteral("Hrubé úhozy");
inline const QString kExamErrors = QStringLiteral("Chyby");
inline const QString kPenalty = QStringLiteral("Penalizace za chybu");
inline const QString kNetStrokes = QStringLiteral("Čisté úhozy");
inline const QString kMinutes = QStringLiteral("Minut");
inline const QString kNetPerMinute = QStringLiteral("Čistých úhozů za minutu");
inline const QString kErrorRate = QStringLiteral("Chybovost");
inline const QString kAccuracy = QStringLiteral("Přesnost");
inline const QString kGrade = QStringLiteral("Známka");
inline const QString kNotPassed = QStringLiteral("nevyhověl");
inline const QString kNoGrade = QStringLiteral("– (známka jen za 10 minut s penalizací 10)");

inline const QString kSheetTitle = QStringLiteral("Opis – výsledek");
inline const QString kSheetLearner = QStringLiteral("Jméno");
inline const QString kSheetDate = QStringLiteral("Datum");
inline const QString kSheetText = QStringLiteral("Text");
inline const QString kSheetTranscript = QStringLiteral("Napsaný text");
inline const QString kLegend = QStringLiteral("Vyznačeno: chybné slovo [správně], "
                                              "vynechané slovo přeškrtnuté, slovo navíc "
                                              "podbarvené; ↵ je konec řádku.");

inline const QString kExamMenu = QStringLiteral("Zkouška");
inline const QString kOwnExamText = QStringLiteral("Vlastní text…");

} // namespace tipora::texts
