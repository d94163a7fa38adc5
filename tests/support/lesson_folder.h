#pragma once

#include <QFile>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <map>

namespace tipora::test {

// A temporary data folder with a small course: every lesson has a one-line description and two
// exercise lines unless a test gives it others. Files are Windows-1250 with CR LF unless a test
// writes raw bytes.
class LessonFolder {
public:
    LessonFolder() { writeIni(" 100  0  0  0 \r\n"); }

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    std::map<int, QStringList> descriptions;
    std::map<int, QStringList> exercises;

    static QStringList defaultExercise(int lesson) {
        return {QStringLiteral("ab %1").arg(lesson), QStringLiteral("cd")};
    }

    // Writes cz.dat and cz01.dat … cz10.dat from the maps (call again after changing them).
    void writeCourse() {
        QStringList all;
        for (int n = 1; n <= 50; ++n) {
            all << header(n);
            all << (descriptions.count(n) ? descriptions[n]
                                          : QStringList{QStringLiteral("Popis lekce %1").arg(n)});
        }
        writeText(QStringLiteral("cz.dat"), all);
        for (int kk = 1; kk <= 10; ++kk) {
            QStringList lines;
            for (int n = 5 * kk - 4; n <= 5 * kk; ++n) {
                lines << header(n);
                lines << (exercises.count(n) ? exercises[n] : defaultExercise(n));
            }
            lines << QStringLiteral("LEKCE KONEC");
            writeText(QStringLiteral("cz%1.dat").arg(kk, 2, 10, QLatin1Char('0')), lines);
        }
    }

    void writeText(const QString& name, const QStringList& lines,
                   const QString& lineEnd = QStringLiteral("\r\n")) {
        QStringEncoder encoder("windows-1250");
        writeBytes(name, encoder.encode(lines.join(lineEnd) + lineEnd));
    }

    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
    }

    void writeIni(const QByteArray& bytes) { writeBytes(QStringLiteral("tipora.ini"), bytes); }

    void remove(const QString& name) { QFile::remove(filePath(name)); }

    static QString header(int n) {
        return QStringLiteral("LEKCE %1").arg(n, 2, 10, QLatin1Char('0'));
    }

private:
    QTemporaryDir dir_;
};

} // namespace tipora::test
