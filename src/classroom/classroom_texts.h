#pragma once

#include <QString>
#include <array>

// What the teacher's class overview says, exactly as shown.
namespace tipora::texts {

inline const QString kClassTitle = QStringLiteral("Třída");
inline const QString kAllClasses = QStringLiteral("Všechny třídy");
inline const QString kClassLabel = QStringLiteral("Třída:");
// "Posledních 7 dní" and "Celá historie" are the results window's own words; a class's month
// sits between them.
inline const QString kLastMonth = QStringLiteral("Posledních 30 dní");

// In the order of ClassColumn.
inline const std::array<QString, 11> kClassHeader{
    QStringLiteral("Žák"),       QStringLiteral("Účet"),
    QStringLiteral("Třída"),     QStringLiteral("Výsledků"),
    QStringLiteral("Naposledy"), QStringLiteral("Nejvyšší lekce"),
    QStringLiteral("Úhozů/min"), QStringLiteral("Chybovost"),
    QStringLiteral("Zkouška"),   QStringLiteral("Chybovost zkoušky"),
    QStringLiteral("Známka")};
inline const std::array<QString, 11> kClassHeaderHints{
    QString(),
    QStringLiteral("Přihlašovací jméno žáka na serveru třídy"),
    QString(),
    QStringLiteral("Výsledky za zvolené období"),
    QStringLiteral("Poslední procvičování vůbec, bez ohledu na období"),
    QStringLiteral("Nejvyšší lekce kurzu dopsaná do konce, za celou historii"),
    QStringLiteral("Průměr úhozů za minutu z lekcí kurzu a procvičení slabých kláves za období"),
    QStringLiteral("Chyby ze všech úhozů týchž lekcí v procentech"),
    QStringLiteral("Čisté úhozy za minutu v poslední zkoušce (opisu) období"),
    QStringLiteral("Chybovost poslední zkoušky období v procentech"),
    QStringLiteral("Známka poslední zkoušky období")};
// The columns holding figures, as the export names them: a percentage is a bare number there.
inline const QString kClassCsvHeader =
    QStringLiteral("Žák;Účet;Třída;Výsledků;Naposledy;Nejvyšší lekce;Úhozů/min;Chybovost (%);"
                   "Zkouška (čistých úhozů/min);Chybovost zkoušky (%);Známka");
inline const QString kFailed = QStringLiteral("nevyhověl");
inline const QString kNoGrade = QStringLiteral("bez známky");
inline QString percent(const QString& number) {
    return QStringLiteral("%1 %").arg(number);
}

inline const QString kWeakestKeysTitle = QStringLiteral("Nejvíc chyb ve třídě:");
inline QString weakestKeysNote(int minimumStrokes) {
    return QStringLiteral("(klávesy s aspoň %1 úhozy)").arg(minimumStrokes);
}
inline const QString kNoWeakKeys = QStringLiteral("zatím žádné");
inline const QString kNoStudents = QStringLiteral("Ve zvolené třídě zatím nejsou žádní žáci.");
inline const QString kOpenStudentHint =
    QStringLiteral("Dvojklik nebo Enter na žákovi ukáže jeho výsledky a klávesnici.");

inline const QString kSaveCsv = QStringLiteral("Uložit CSV…");
inline const QString kPrint = QStringLiteral("Tisk…");
inline const QString kSavePdf = QStringLiteral("Uložit jako PDF…");
inline const QString kCsvDefaultClassName = QStringLiteral("trida.csv");
inline const QString kPdfDefaultClassName = QStringLiteral("trida.pdf");
inline const QString kPdfFilterClass = QStringLiteral("Dokumenty PDF (*.pdf)");
inline const QString kCsvFilterClass = QStringLiteral("Soubory CSV (*.csv)");
inline QString classFileNotWritten(const QString& path) {
    return QStringLiteral("Soubor %1 se nepodařilo uložit.").arg(path);
}
// The printed overview's heading: "Třída 3.B, posledních 7 dní (9. 12. 2026)".
inline QString printedHeading(const QString& classes, const QString& period, const QString& date) {
    return QStringLiteral("%1, %2 (%3)").arg(classes, period.toLower(), date);
}

inline QString studentTitle(const QString& name, const QString& login) {
    return QStringLiteral("Žák: %1 (%2)").arg(name, login);
}
inline const QString kStudentResultsTab = QStringLiteral("Výsledky");
inline const QString kStudentKeyboardTab = QStringLiteral("Klávesnice");

// When the server does not answer as it should.
inline const QString kConnectionLost =
    QStringLiteral("Spojení se serverem třídy se přerušilo. Zkontroluj síť a zvol třídu nebo "
                   "období znovu, program se znovu připojí.");
inline const QString kNotATeacher =
    QStringLiteral("Na výsledky třídy nemáš na serveru oprávnění. Přihlas se účtem učitele.");
inline const QString kNoClassSchema =
    QStringLiteral("Na serveru nejsou tabulky výsledků třídy. Požádej správce, aby je založil.");
inline QString cannotConnect(const QString& reason) {
    return QStringLiteral("Se serverem třídy se nepodařilo spojit (%1).").arg(reason);
}
inline QString classReadFailed(const QString& reason) {
    return QStringLiteral("Výsledky třídy se nepodařilo přečíst (%1).").arg(reason);
}

} // namespace tipora::texts
