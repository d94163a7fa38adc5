#pragma once

#include <QString>

// What the weak-key drill says to the learner, exactly as shown.
namespace tipora::texts {

// The drill's name in the title, the history and its export: "Slabé klávesy: ř ž ů".
inline QString weakKeyDrillName(const QString& keys) {
    return QStringLiteral("Slabé klávesy: ") + keys;
}
inline QString weakKeyDrillDescription(const QString& keys) {
    return QStringLiteral("Cvičení ze slov kurzu na klávesy, na kterých nejčastěji chybuješ: %1. "
                          "Červeně jsou procvičované klávesy, zeleně ostatní, které už znáš.")
        .arg(keys);
}
inline QString tooLittleHistory(int keystrokes, int needed) {
    return QStringLiteral("Na procvičení slabých kláves je zatím málo údajů: zaznamenaných úhozů "
                          "je %1, potřeba je alespoň %2. Napiš nejdřív několik lekcí.")
        .arg(keystrokes)
        .arg(needed);
}
inline const QString kNoFinishedLesson =
    QStringLiteral("Na procvičení slabých kláves je potřeba dokončit aspoň jednu lekci.");
inline const QString kNoWeakKeyWords =
    QStringLiteral("Ze slov kurzu se nepodařilo sestavit cvičení na tvé slabé klávesy.");

} // namespace tipora::texts
