#include "lessons/lesson_file.h"

#include "keyboard/windows1250.h"

#include <QFile>

namespace tipora {

namespace {
// Far larger than any course file; protects the program from being pointed at a huge file.
constexpr qint64 kMaxLessonFileBytes = 16 * 1024 * 1024;
} // namespace

bool LessonFile::open(const QString& path) {
    close();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLessonFileBytes) {
        return false;
    }
    bytes_ = file.read(kMaxLessonFileBytes);
    if (file.error() != QFileDevice::NoError) {
        bytes_.clear();
        return false;
    }
    open_ = true;
    return true;
}

void LessonFile::close() {
    bytes_.clear();
    pos_ = 0;
    open_ = false;
}

bool LessonFile::atEnd() const {
    return !open_ || pos_ >= bytes_.size();
}

bool LessonFile::readLine(QString& line) {
    if (atEnd()) {
        return false;
    }
    qsizetype end = pos_;
    while (end < bytes_.size() && bytes_.at(end) != '\r' && bytes_.at(end) != '\n') {
        ++end;
    }
    line = fromWindows1250(QByteArrayView(bytes_).sliced(pos_, end - pos_));
    pos_ = end;
    if (pos_ < bytes_.size() && bytes_.at(pos_) == '\r') {
        ++pos_;
    }
    if (pos_ < bytes_.size() && bytes_.at(pos_) == '\n') {
        ++pos_;
    }
    return true;
}

} // namespace tipora
