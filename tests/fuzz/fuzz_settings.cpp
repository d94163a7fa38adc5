// The settings reader over arbitrary bytes: "tipora.ini" edited by hand or damaged.
#include "app/settings_file.h"
#include "fuzz/fuzz_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>

using tipora::Promenne;
using tipora::SharedValue;

namespace {

std::array<const SharedValue*, 4> fields(const Promenne& shared) {
    return {&shared.Metronom, &shared.OdezvaKlaves, &shared.PipChyba, &shared.PipKlavesa};
}

// The numbers of the file as a person reads them: runs between blanks, commas and line ends.
QList<QByteArray> words(QByteArray content) {
    for (const char separator : {'\t', ',', '\r', '\n'}) {
        content.replace(separator, ' ');
    }
    QList<QByteArray> result = content.split(' ');
    result.removeAll(QByteArray());
    return result;
}

int valueOf(const SharedValue& value) {
    FUZZ_CHECK(value.isSet());
    return value.value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Promenne shared;
    const bool ok = tipora::readSettings(content, shared);
    const auto read = fields(shared);

    // Fields are stored in order and only whole: what was set is a leading run, and success
    // means all four.
    qsizetype set = 0;
    while (set < 4 && read[std::size_t(set)]->isSet()) {
        ++set;
    }
    for (qsizetype i = set; i < 4; ++i) {
        FUZZ_CHECK(!read[std::size_t(i)]->isSet());
    }
    FUZZ_CHECK(ok == (set == 4));
    FUZZ_CHECK(shared.TypKlavesnice.isSet() == false);

    // Each value read is the number written at its place in the file.
    const QList<QByteArray> numbers = words(content);
    FUZZ_CHECK(numbers.size() >= set);
    for (qsizetype i = 0; i < set; ++i) {
        bool parsed = false;
        const int expected = numbers[i].toInt(&parsed);
        FUZZ_CHECK(parsed);
        FUZZ_CHECK(valueOf(*read[std::size_t(i)]) == expected);
    }

    if (ok) {
        // What the program writes back reads as the same four values.
        const tipora::SettingsValues values{valueOf(shared.Metronom), valueOf(shared.OdezvaKlaves),
                                            valueOf(shared.PipChyba), valueOf(shared.PipKlavesa)};
        Promenne again;
        FUZZ_CHECK(tipora::readSettings(tipora::settingsLine(values), again));
        for (std::size_t i = 0; i < 4; ++i) {
            FUZZ_CHECK(valueOf(*fields(again)[i]) == valueOf(*read[i]));
        }
    }

    // The file reader gives what the reader gives for the same bytes (it reads at most 64 KiB).
    // Writing the file costs twenty times the rest, so one input in eight goes through it.
    if (content.size() > 64 * 1024 || qHash(content) % 8 != 0) {
        return 0;
    }
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tipora.ini"));
    {
        // A new file each time: rewriting one in place makes ext4 flush it at every close.
        QFile::remove(path);
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(content) == content.size());
    }
    Promenne fromFile;
    FUZZ_CHECK(tipora::readSettingsFile(path, fromFile) == ok);
    for (std::size_t i = 0; i < 4; ++i) {
        FUZZ_CHECK(fields(fromFile)[i]->isSet() == read[i]->isSet());
        FUZZ_CHECK(fields(fromFile)[i]->value() == read[i]->value());
    }
    return 0;
}
