#pragma once

#include <QString>

// What the lessons say to the learner, exactly as shown.
namespace tipora::texts {

inline const QString kLessonTitlePrefix = QStringLiteral("Tipora 1.5 - ");
inline const QString kLessonEnd = QStringLiteral("KONEC LEKCE");
inline const QString kClearStatistics = QStringLiteral("Chceš smazat statistiku?");
inline const QString kDescriptionFile = QStringLiteral("cz.dat");

// "Chybí datový soubor cz04.dat nebo cz.dat"
inline QString lessonFilesMissing(const QString& exerciseFile) {
    return QStringLiteral("Chybí datový soubor %1 nebo cz.dat").arg(exerciseFile);
}

} // namespace tipora::texts
