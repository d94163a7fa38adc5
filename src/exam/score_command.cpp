#include "exam/score_command.h"

#include "exam/copy_test.h"
#include "exam/exam_session.h"
#include "ground/lesson_file.h"
#include "ground/lesson_texts.h"
#include "ground/text_decoding.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>
#include <optional>

namespace tipora {

namespace {

struct ReadText {
    QString text;
    QString problem;
};

ReadText readText(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return {{}, QStringLiteral("soubor „%1“ neexistuje").arg(path)};
    }
    if (info.size() > kMaxLessonFileBytes) {
        return {{}, texts::lessonFileTooLarge(path, kMaxLessonFileBytes)};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, QStringLiteral("soubor „%1“ nelze přečíst").arg(path)};
    }
    return {decodeText(file.read(kMaxLessonFileBytes + 1)).text, {}};
}

} // namespace

ScoreRun runScore(const ScoreRequest& request) {
    ScoreRun run;
    const auto problem = [&](const QString& why) {
        run.exitCode = 2;
        run.error = request.program + QStringLiteral(": ") + why + u'\n';
        return run;
    };
    bool ok = false;
    const double minutes = request.minutes.toDouble(&ok);
    if (!ok || !(minutes > 0) || minutes > 24 * 60) {
        return problem(
            QStringLiteral("--minutes chce počet minut větší než 0, ne „%1“").arg(request.minutes));
    }
    const int penalty = request.penalty.toInt(&ok);
    if (!ok || penalty < 0) {
        return problem(
            QStringLiteral("--penalty chce celé číslo od 0, ne „%1“").arg(request.penalty));
    }
    const ReadText original = readText(request.originalPath);
    if (!original.problem.isEmpty()) {
        return problem(original.problem);
    }
    const ReadText typed = readText(request.typedPath);
    if (!typed.problem.isEmpty()) {
        return problem(typed.problem);
    }

    const CopyTestFigures f = scoreCopyTest(original.text, typed.text, minutes, penalty);
    if (request.json) {
        QJsonObject o;
        o.insert(QStringLiteral("gross_strokes"), f.grossStrokes);
        o.insert(QStringLiteral("errors"), f.errors);
        o.insert(QStringLiteral("penalty"), f.penalty);
        o.insert(QStringLiteral("net_strokes"), f.netStrokes);
        o.insert(QStringLiteral("minutes"), f.minutes);
        o.insert(QStringLiteral("net_per_minute"), std::round(f.netPerMinute * 100) / 100);
        o.insert(QStringLiteral("error_rate"), f.errorRateHundredths / 100.0);
        o.insert(QStringLiteral("accuracy"), f.accuracyHundredths / 100.0);
        o.insert(QStringLiteral("grade"), f.grade ? QJsonValue(*f.grade) : QJsonValue());
        run.output = QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) + u'\n';
        return run;
    }
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    for (const auto& [label, value] : figureRows(f, czech)) {
        run.output += label + QStringLiteral(": ") + value + u'\n';
    }
    return run;
}

} // namespace tipora
