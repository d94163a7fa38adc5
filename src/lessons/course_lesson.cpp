#include "lessons/course_lesson.h"

#include "ground/lesson_catalogue.h"
#include "ground/lesson_texts.h"

namespace tipora {

CourseLesson::Failure CourseLesson::open(const QDir& course) {
    using Problem = LessonFile::Problem;
    if (const Problem problem = readDescription(course); problem != Problem::None) {
        return {problem, texts::kDescriptionFile};
    }
    return {openExercise(course), lessonExerciseFile(number_)};
}

LessonFile::Problem CourseLesson::readDescription(const QDir& course) {
    using Problem = LessonFile::Problem;
    LessonFile file;
    if (!file.open(course.filePath(texts::kDescriptionFile))) {
        return file.problem();
    }
    QString line;
    if (!file.skipPastLine(lessonHeader(number_).toLatin1()) || !file.readLine(line)) {
        return Problem::Missing;
    }
    description_ = line;
    // The last lesson's description runs to the end of the file; the others end at the next
    // line that begins with LEKCE, which must be there.
    const bool toTheEnd = number_ == kLessonCount;
    for (;;) {
        if (!file.readLine(line)) {
            return toTheEnd ? Problem::None : Problem::Missing;
        }
        if (!toTheEnd && line.startsWith(texts::kHeaderPrefix)) {
            return Problem::None;
        }
        description_ += QStringLiteral("\r\n") + line;
    }
}

LessonFile::Problem CourseLesson::openExercise(const QDir& course) {
    using Problem = LessonFile::Problem;
    if (!exercise_.open(course.filePath(lessonExerciseFile(number_)))) {
        return exercise_.problem();
    }
    if (!exercise_.skipPastLine(lessonHeader(number_).toLatin1()) ||
        !exercise_.readLine(firstLine_) || firstLine_.startsWith(texts::kHeaderPrefix)) {
        // No line to type before the next lesson: the file is damaged.
        exercise_.close();
        return Problem::Missing;
    }
    return Problem::None;
}

SourceLine CourseLesson::classified(const QString& line) {
    if (line.startsWith(texts::kMessagePrefix)) {
        return {SourceLine::Kind::Message, line, line.mid(texts::kMessagePrefix.size())};
    }
    return {SourceLine::Kind::Exercise, line, line};
}

SourceLine CourseLesson::first() {
    return classified(firstLine_);
}

SourceLine CourseLesson::next(bool lastLineEnds) {
    // The demonstration looks for the end before it reads; the feeder after, so that the file's
    // last line ends the lesson as soon as it is read.
    if (!lastLineEnds && exercise_.atEnd()) {
        return {};
    }
    SourceLine line;
    QString text;
    if (exercise_.readLine(text)) {
        line = classified(text);
    }
    if (!line.text || text.startsWith(texts::kHeaderPrefix) ||
        (lastLineEnds && exercise_.atEnd())) {
        line.kind = SourceLine::Kind::End;
    }
    return line;
}

std::optional<QString> CourseLesson::afterMessage() {
    QString text;
    if (!exercise_.readLine(text)) {
        return std::nullopt;
    }
    return text;
}

} // namespace tipora
