#pragma once

#include <QString>

// What the weak-key drill and a text of the learner's own say to the learner, exactly as shown.
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

inline const QString kOwnTextFilter =
    QStringLiteral("Textové soubory (*.txt);;Všechny soubory (*)");
inline const QString kOwnTextDialogTitle = QStringLiteral("Vlastní text");
inline QString untypeableCharacter(QChar character, int line, int column) {
    return QStringLiteral("Text nelze procvičovat: znak „%1“ (U+%2) na řádku %3, ve sloupci %4 "
                          "se na české klávesnici napsat nedá.")
        .arg(character)
        .arg(character.unicode(), 4, 16, QLatin1Char('0'))
        .arg(line)
        .arg(column);
}
inline QString ownTextDescription(const QString& file) {
    return QStringLiteral("Vlastní text ze souboru %1. Zeleně jsou klávesy, které text používá.")
        .arg(file);
}
inline const QString kEmptyOwnText = QStringLiteral("V textu není nic k psaní.");
inline const QString kTypographyPlained =
    QStringLiteral("Typografické znaky, které klávesnice nemá (uvozovky „ “, pomlčky, tři tečky, "
                   "pevné mezery), se píšou v prosté podobě: \", ', -, ... a mezera.");
inline QString ownTextNotRead(const QString& file) {
    return QStringLiteral("Soubor %1 nelze přečíst.").arg(file);
}

} // namespace tipora::texts
