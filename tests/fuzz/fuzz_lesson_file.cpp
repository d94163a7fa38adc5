// The lesson file reader and the lesson start over arbitrary bytes: a course someone edited by
// hand, saved in another code page or cut short.
#include "app/texts.h"
#include "fuzz/fuzz_support.h"
#include "ground/lesson_catalogue.h"
#include "ground/lesson_file.h"
#include "support/fake_platform.h"
#include "window/frm_tipora.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

using tipora::kMaxLessonFileBytes;
using tipora::LessonFile;

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& name, QByteArrayView bytes, qint64 size = -1) {
    // A new file each time: rewriting one in place makes ext4 flush it at every close.
    QFile::remove(folder().filePath(name));
    QFile file(folder().filePath(name));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    if (size >= 0) {
        FUZZ_CHECK(file.resize(size)); // the rest is a hole: a huge file that costs nothing
    }
}

// How the lines of a file are meant to be split, written out plainly: CR LF, CR or LF ends a
// line; text after the last line end is a line too.
QByteArrayList referenceLines(QByteArrayView bytes) {
    QByteArrayList lines;
    QByteArray current;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines << current;
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.isEmpty()) {
        lines << current;
    }
    return lines;
}

bool hasLineEnd(const QString& text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

// The lesson the input is about: the first header it holds, else one chosen by its size.
int lessonOf(QByteArrayView bytes) {
    static const QRegularExpression header(QStringLiteral("LEKCE (\\d\\d)"));
    const auto match = header.match(QString::fromLatin1(bytes));
    const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
    return number >= 1 && number <= tipora::kLessonCount
               ? number
               : 1 + static_cast<int>(bytes.size() % tipora::kLessonCount);
}

void checkReader(QByteArrayView bytes, const QByteArray& header) {
    const QByteArrayList lines = referenceLines(bytes);
    const QString path = folder().filePath(QStringLiteral("cz.dat"));

    LessonFile file;
    FUZZ_CHECK(file.open(path));
    FUZZ_CHECK(file.problem() == LessonFile::Problem::None);
    qsizetype read = 0;
    QString line;
    while (file.readLine(line)) {
        FUZZ_CHECK(read < lines.size());
        FUZZ_CHECK(!hasLineEnd(line));
        FUZZ_CHECK(line == decode(lines[read]));
        ++read;
    }
    FUZZ_CHECK(read == lines.size());
    FUZZ_CHECK(file.atEnd());

    // Every header line is found, in order, and nothing else is.
    FUZZ_CHECK(file.open(path));
    const qsizetype headers = lines.count(header);
    qsizetype found = 0;
    while (file.skipPastLine(header)) {
        ++found;
        FUZZ_CHECK(found <= headers);
    }
    FUZZ_CHECK(found == headers);
    FUZZ_CHECK(file.atEnd());

    // After the first header, reading goes on with the line that follows it.
    FUZZ_CHECK(file.open(path));
    const qsizetype at = lines.indexOf(header);
    FUZZ_CHECK(file.skipPastLine(header) == (at >= 0));
    if (at >= 0) {
        for (qsizetype i = at + 1; i < lines.size(); ++i) {
            FUZZ_CHECK(file.readLine(line));
            FUZZ_CHECK(line == decode(lines[i]));
        }
        FUZZ_CHECK(!file.readLine(line));
    }
}

void checkTooLarge(QByteArrayView bytes) {
    writeFile(QStringLiteral("big.dat"), bytes, kMaxLessonFileBytes + 1);
    LessonFile file;
    FUZZ_CHECK(!file.open(folder().filePath(QStringLiteral("big.dat"))));
    FUZZ_CHECK(file.problem() == LessonFile::Problem::TooLarge);
    FUZZ_CHECK(!file.isOpen());
    QString line;
    FUZZ_CHECK(!file.readLine(line));
}

// The learner starts the lesson over a course made of the input and skips through its lines.
void checkLessonStart(QByteArrayView bytes, int number) {
    const QByteArrayList lines = referenceLines(bytes);
    const QByteArray header = tipora::lessonHeader(number).toLatin1();
    writeFile(tipora::lessonExerciseFile(number), bytes);

    tipora::Promenne shared;
    shared.TypKlavesnice = 1;
    tipora::test::FakePlatform platform;
    tipora::FrmTipora window(shared, platform, QDir(folder().path()));
    window.Form_Load();
    FUZZ_CHECK(platform.messages.empty()); // the settings file is a good one
    window.mnuLekce_Click(number);

    const qsizetype at = lines.indexOf(header);
    if (at < 0 || at + 1 >= lines.size()) {
        // Without the header and a line after it, the lesson cannot start.
        FUZZ_CHECK(!window.session().lessonLoaded());
        FUZZ_CHECK(platform.messages.size() == 1);
        return;
    }
    if (!window.session().lessonLoaded()) {
        FUZZ_CHECK(platform.messages.size() == 1);
        FUZZ_CHECK(window.form.lblZadani.text == tipora::texts::kError);
        return;
    }
    FUZZ_CHECK(platform.messages.empty());
    FUZZ_CHECK(window.session().line().text() == decode(lines[at + 1]));
    const QStringList description = window.form.txtPopisLekce.text.split(QStringLiteral("\r\n"));
    FUZZ_CHECK(description.front() == decode(lines[at + 1]));
    for (const QString& part : description) {
        FUZZ_CHECK(!hasLineEnd(part));
    }

    // Each step shows at most one more line, so the lesson ends within the file's lines.
    qsizetype steps = 0;
    while (window.session().lessonLoaded()) {
        FUZZ_CHECK(!hasLineEnd(window.form.lblZadani.text));
        FUZZ_CHECK(++steps <= lines.size() + 2);
        if (window.form.tmrText.enabled()) {
            window.tmrText_Timer();
        } else {
            window.imgDalsi_Click();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FUZZ_CHECK(folder().isValid());
    // The settings the lesson start reads with the window.
    writeFile(QStringLiteral("tipora.ini"), " 100  0  0  0 \r\n");
    // The limit itself, once: a file of exactly the limit is read, one byte more is refused.
    writeFile(QStringLiteral("big.dat"), "LEKCE 01\r\n", kMaxLessonFileBytes);
    LessonFile file;
    FUZZ_CHECK(file.open(folder().filePath(QStringLiteral("big.dat"))));
    FUZZ_CHECK(file.skipPastLine("LEKCE 01"));
    QString line;
    FUZZ_CHECK(file.readLine(line) && line.size() == kMaxLessonFileBytes - 10);
    FUZZ_CHECK(!file.readLine(line));
    checkTooLarge("LEKCE 01\r\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const int number = lessonOf(bytes);
    writeFile(QStringLiteral("cz.dat"), bytes);
    checkReader(bytes, tipora::lessonHeader(number).toLatin1());
    checkTooLarge(bytes);
    checkLessonStart(bytes, number);
    return 0;
}
