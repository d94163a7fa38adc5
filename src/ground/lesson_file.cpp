#include "ground/lesson_file.h"

#include "ground/windows1250.h"

#include <QFile>
#include <QFileInfo>

namespace tipora {

namespace {
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
} // namespace

bool LessonFile::open(const QString& path) {
    close();
    problem_ = Problem::Missing;
    // Links are followed; a pipe, a device or a folder is treated as no file at all.
    const QFileInfo info(path);
    if (!info.isFile()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const qint64 size = file.size();
    if (size > kMaxLessonFileBytes) {
        problem_ = Problem::TooLarge;
        return false;
    }
    // One byte more than the size tells a file that grew since its size was asked; only such a
    // file is read on, up to one byte over the limit. (Asking for the limit at once would
    // reserve 16 MiB at every lesson start.)
    bytes_ = file.read(size + 1);
    if (bytes_.size() > size) {
        bytes_ += file.read(kMaxLessonFileBytes + 1 - bytes_.size());
    }
    if (file.error() != QFileDevice::NoError || bytes_.size() > kMaxLessonFileBytes) {
        problem_ = bytes_.size() > kMaxLessonFileBytes ? Problem::TooLarge : Problem::Missing;
        bytes_.clear();
        return false;
    }
    problem_ = Problem::None;
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

void LessonFile::skipLineEnd() {
    if (pos_ < bytes_.size() && bytes_.at(pos_) == '\r') {
        ++pos_;
    }
    if (pos_ < bytes_.size() && bytes_.at(pos_) == '\n') {
        ++pos_;
    }
}

bool LessonFile::readLine(QString& line) {
    if (atEnd()) {
        return false;
    }
    qsizetype end = pos_;
    while (end < bytes_.size() && !isLineEnd(bytes_.at(end))) {
        ++end;
    }
    line = fromWindows1250(QByteArrayView(bytes_).sliced(pos_, end - pos_));
    pos_ = end;
    skipLineEnd();
    return true;
}

bool LessonFile::skipPastLine(QByteArrayView line) {
    if (atEnd() || line.isEmpty()) {
        return false;
    }
    qsizetype from = pos_;
    for (;;) {
        const qsizetype at = bytes_.indexOf(line, from);
        if (at < 0) {
            pos_ = bytes_.size();
            return false;
        }
        const qsizetype end = at + line.size();
        const bool startsLine = at == pos_ || isLineEnd(bytes_.at(at - 1));
        if (startsLine && (end == bytes_.size() || isLineEnd(bytes_.at(end)))) {
            pos_ = end;
            skipLineEnd();
            return true;
        }
        from = at + 1;
    }
}

} // namespace tipora
