#pragma once

#include <QString>
#include <QStringList>
#include <array>

// What the tutor says of its classroom server and what the teacher's class overview says,
// exactly as shown.
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

// The tutor's side: sending the results and the status line of "Výsledky".

inline const QString kNoDriver = QStringLiteral(
    "Chybí ovladač PostgreSQL pro Qt (balíček libqt6sql6-psql); výsledky zůstávají v počítači.");
inline const QString kLoginRefused = QStringLiteral(
    "Server třídy odmítl přihlášení: zkontrolujte jméno uživatele a heslo v souboru ~/.pgpass.");
inline const QString kUnreachable = QStringLiteral("Server třídy není dostupný: %1");
inline const QString kNoSchema =
    QStringLiteral("Na serveru třídy chybí tabulky Tipory (skript tipora-classroom.sql).");
inline const QString kNewerSchema =
    QStringLiteral("Server třídy má novější verzi tabulek (%1), než kterou tento program zná (%2): "
                   "aktualizujte Tiporu.");
inline const QString kNotAllowed =
    QStringLiteral("Uživatel nemá na serveru třídy potřebné oprávnění.");
inline const QString kResultRefused = QStringLiteral("Server třídy odmítl výsledek: %1");
inline const QString kServerError = QStringLiteral("Chyba serveru třídy: %1");

inline QString noClassroomFile(const QStringList& candidates) {
    return QStringLiteral("Třída není nastavena: chybí soubor %1.")
        .arg(candidates.join(QStringLiteral(" nebo ")));
}
inline const QString kNotTeacher =
    QStringLiteral("Uživatel %1 není na serveru třídy učitelem (role tipora_teacher).");

// The status line of "Výsledky": the class, the student, what waits and what went wrong.
inline const QString kClassAndName = QStringLiteral("Třída %1, %2");
inline const QString kClassButton = QStringLiteral("Třída…");
inline const QString kAllSent = QStringLiteral("všechny výsledky jsou odeslány");

// "čeká 1 výsledek", "čekají 3 výsledky", "čeká 5 výsledků" na odeslání.
inline QString waitingResults(int count) {
    if (count == 1) {
        return QStringLiteral("na odeslání čeká 1 výsledek");
    }
    if (count >= 2 && count <= 4) {
        return QStringLiteral("na odeslání čekají %1 výsledky").arg(count);
    }
    return QStringLiteral("na odeslání čeká %1 výsledků").arg(count);
}

} // namespace tipora::texts
