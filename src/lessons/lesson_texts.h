#pragma once

#include <QString>

// What the lessons say to the learner, exactly as shown.
namespace tipora::texts {

inline const QString kLessonTitlePrefix = QStringLiteral("Tipora 1.5 - ");
inline const QString kLessonEnd = QStringLiteral("KONEC LEKCE");
inline const QString kClearStatistics = QStringLiteral("Chceš smazat statistiku?");
inline const QString kDescriptionFile = QStringLiteral("cz.dat");

// The two markers of the lesson files: a line beginning with LEKCE heads a lesson (and ends
// the one before it); a line beginning with >>> is a message shown for three seconds.
inline const QString kHeaderPrefix = QStringLiteral("LEKCE");
inline const QString kMessagePrefix = QStringLiteral(">>>");

// "Chybí datový soubor cz04.dat nebo cz.dat"
inline QString lessonFilesMissing(const QString& exerciseFile) {
    return QStringLiteral("Chybí datový soubor %1 nebo cz.dat").arg(exerciseFile);
}

} // namespace tipora::texts
