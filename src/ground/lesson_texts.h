#pragma once

#include <QString>

// What the lessons say to the learner, exactly as shown.
namespace tipora::texts {

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

// "Datový soubor cz04.dat je příliš velký (nejvýše 16 MB)": a file that is there but is not
// read must not be reported as missing.
inline QString lessonFileTooLarge(const QString& file, qint64 limitBytes) {
    return QStringLiteral("Datový soubor %1 je příliš velký (nejvýše %2 MB)")
        .arg(file)
        .arg(limitBytes / (1024 * 1024));
}

} // namespace tipora::texts
