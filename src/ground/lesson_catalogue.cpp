#include "ground/lesson_catalogue.h"

#include "ground/utf8.h"

#include <QtGlobal>

namespace tipora {

namespace {
QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

const LessonDef& lesson(int number) {
    Q_ASSERT(number >= 1 && number <= kLessonCount);
    return kLessons[static_cast<std::size_t>(number - 1)];
}

QString lessonMenuName(int number) {
    return QStringLiteral("mnuLekce") + twoDigits(number);
}

QString lessonHeader(int number) {
    return QStringLiteral("LEKCE ") + twoDigits(number);
}

QString lessonExerciseFile(int number) {
    return QStringLiteral("cz") + twoDigits((number + 4) / 5) + QStringLiteral(".dat");
}

QString lessonCaption(int number) {
    return fromUtf8(lesson(number).caption);
}

} // namespace tipora
