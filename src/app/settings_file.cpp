#include "app/settings_file.h"

#include "app/platform.h"
#include "app/texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <array>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tipora {

namespace {

// Far more than four numbers ever need; a stray huge file is not read whole.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

bool isFieldEnd(char c) {
    return c == ' ' || c == ',' || c == '\r' || c == '\n';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

class FieldReader {
public:
    explicit FieldReader(const QByteArray& content) : text_(content) {}

    // The next field as a whole number, or false when there is none or it is not a number.
    bool next(int& value) {
        while (pos_ < text_.size() && (isBlank(at()) || at() == '\r' || at() == '\n')) {
            ++pos_;
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size() && !isFieldEnd(at())) {
            ++pos_;
        }
        const QByteArray field = text_.mid(start, pos_ - start);
        // One separator follows a field: blanks, then at most one comma.
        while (pos_ < text_.size() && isBlank(at())) {
            ++pos_;
        }
        if (pos_ < text_.size() && at() == ',') {
            ++pos_;
        }
        return parseWholeNumber(field, value);
    }

private:
    char at() const { return text_.at(pos_); }

    static bool parseWholeNumber(const QByteArray& field, int& value) {
        if (field.isEmpty()) {
            return false;
        }
        qsizetype digits = (field.front() == '+' || field.front() == '-') ? 1 : 0;
        if (digits == field.size()) {
            return false;
        }
        for (qsizetype i = digits; i < field.size(); ++i) {
            if (field.at(i) < '0' || field.at(i) > '9') {
                return false;
            }
        }
        bool ok = false;
        value = field.toInt(&ok);
        return ok;
    }

    const QByteArray& text_;
    qsizetype pos_ = 0;
};

} // namespace

bool readSettings(const QByteArray& content, Promenne& shared) {
    FieldReader reader(content);
    for (SharedValue* target :
         std::array{&shared.Metronom, &shared.OdezvaKlaves, &shared.PipChyba, &shared.PipKlavesa}) {
        int value = 0;
        if (!reader.next(value)) {
            return false;
        }
        *target = value;
    }
    return true;
}

bool readSettingsFile(const QString& path, Promenne& shared) {
    // A pipe in its place would block the start for ever; only a regular file is read.
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    return readSettings(file.read(kMaxSettingsBytes), shared);
}

bool readSettingsFile(const QString& path, const QString& defaultPath, Promenne& shared) {
    // A link that leads nowhere is a file that is there but broken, not one never saved.
    const QFileInfo file(path);
    if (defaultPath.isEmpty() || file.exists() || file.isSymLink()) {
        return readSettingsFile(path, shared);
    }
    return readSettingsFile(defaultPath, shared);
}

QByteArray settingsLine(const SettingsValues& values) {
    QByteArray line;
    for (int value : {values.metronom, values.odezvaKlaves, values.pipChyba, values.pipKlavesa}) {
        line += value < 0 ? "-" : " ";
        line += QByteArray::number(value < 0 ? -static_cast<qint64>(value) : value);
        line += ' ';
    }
    line += "\r\n";
    return line;
}

namespace {

// Puts what was written on the disk itself, so that the rename never makes a file whose
// blocks are not there yet (after a power cut it would be empty).
bool syncToDisk(QFileDevice& file) {
    if (!file.flush()) {
        return false;
    }
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return fsync(file.handle()) == 0;
#endif
}

// A save killed between writing its temporary file and renaming it leaves the temporary file
// behind ("tipora.ini.AbC123"); the next save clears them away.
void removeLeftoverTemporaries(const QString& path) {
    const QFileInfo target(path);
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(target.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDir folder = target.absoluteDir();
    const QStringList candidates = folder.entryList({target.fileName() + QStringLiteral(".??????")},
                                                    QDir::Files | QDir::Hidden);
    for (const QString& name : candidates) {
        if (leftover.match(name).hasMatch()) {
            QFile::remove(folder.filePath(name));
        }
    }
}

} // namespace

bool writeSettingsFile(const QString& path, const SettingsValues& values) {
    removeLeftoverTemporaries(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // Every step is checked: a full disk shows up at the write, the flush or the sync, and any
    // of them failing leaves the old file as it was.
    const QByteArray line = settingsLine(values);
    if (file.write(line) != line.size() || !syncToDisk(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool saveSettings(Platform& platform, const QString& path, const SettingsValues& values,
                  bool createFolder) {
    if ((!createFolder || QFileInfo(path).absoluteDir().mkpath(QStringLiteral("."))) &&
        writeSettingsFile(path, values)) {
        return true;
    }
    platform.messageBox(texts::kSettingsNotSaved, texts::kMessageTitle, MessageButtons::Ok);
    return false;
}

} // namespace tipora
