#pragma once

#include "ground/lesson_file.h"
#include "lessons/line_source.h"

#include <QDir>

namespace tipora {

// A lesson of the course: its description from "cz.dat" and its lines from its exercise file,
// where a line beginning "LEKCE" heads the next lesson (and so ends this one) and a line
// beginning ">>>" is a message. The exercise file stays open while the lesson runs.
class CourseLesson final : public LineSource {
public:
    // Why a lesson cannot be opened, and the file to name.
    struct Failure {
        LessonFile::Problem problem = LessonFile::Problem::None;
        QString file;
    };

    explicit CourseLesson(int number) : number_(number) {}

    // Reads the description, then positions the exercise file on the lesson's first line.
    // Failure::problem is None when both succeeded.
    Failure open(const QDir& course);
    // The description as far as it was read, lines joined by CR LF.
    const QString& description() const { return description_; }

    SourceLine first() override;
    SourceLine next(bool lastLineEnds) override;
    std::optional<QString> afterMessage() override;

private:
    LessonFile::Problem readDescription(const QDir& course);
    LessonFile::Problem openExercise(const QDir& course);
    static SourceLine classified(const QString& line);

    int number_;
    QString description_;
    QString firstLine_;
    LessonFile exercise_;
};

} // namespace tipora
