#pragma once

#include <QByteArray>
#include <QString>

namespace tipora {

// A lesson file read line by line, as the lesson start and the line feeder need it. Lines end
// at CR LF, a lone CR or a lone LF (files saved on Linux), and are decoded from Windows-1250.
// The file is read whole when opened: lesson files are small, and a file that is not (or is
// not a file) is refused rather than read.
class LessonFile {
public:
    bool open(const QString& path);
    void close();
    bool isOpen() const { return open_; }

    // The next line, or false at the end of the file (or when no file is open).
    bool readLine(QString& line);
    // True once every line has been read; a closed file is at its end.
    bool atEnd() const;

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
    bool open_ = false;
};

} // namespace tipora
