#pragma once

#include <QString>
#include <QStringList>

// What the tutor says of its classroom server, in the learner's and the teacher's words.
namespace tipora::texts {

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
