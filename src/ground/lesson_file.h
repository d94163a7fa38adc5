#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tipora {

// The largest lesson file read, 16 MiB: a thousand times the largest file of the bundled course,
// and still read in well under a second. Anything larger is not a course someone wrote.
inline constexpr qint64 kMaxLessonFileBytes = 16 * 1024 * 1024;

// A lesson file read line by line, as the lesson start and the line feeder need it. Lines end
// at CR LF, a lone CR or a lone LF (files saved on Linux), and are decoded from Windows-1250.
// The file is read whole when opened: lesson files are small, and a file that is not (or is
// not a regular file: a pipe or a device would block or never end) is refused rather than read.
class LessonFile {
public:
    enum class Problem { None, Missing, TooLarge };

    bool open(const QString& path);
    void close();
    bool isOpen() const { return open_; }
    // Why the last open failed.
    Problem problem() const { return problem_; }

    // The next line, or false at the end of the file (or when no file is open).
    bool readLine(QString& line);
    // Moves past the next line that reads exactly `line` (plain ASCII); false, at the end of
    // the file, when there is none. Searches the bytes, so a header far down a file is found
    // without decoding every line before it.
    bool skipPastLine(QByteArrayView line);
    // True once every line has been read; a closed file is at its end.
    bool atEnd() const;

private:
    void skipLineEnd();

    QByteArray bytes_;
    qsizetype pos_ = 0;
    bool open_ = false;
    Problem problem_ = Problem::None;
};

} // namespace tipora
