#include "ground/windows1250.h"

#include "ground/key_table.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <utility>

namespace tipora {

namespace {

// Windows-1250 is a single-byte code page, so one table decodes every byte and its inverse
// encodes every character. Both are built once from Qt's codec: a codec per line or per
// keystroke cost more than the rest of the work together.
struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    // (character, code), sorted by character, for the characters the page has.
    std::array<std::pair<char16_t, unsigned char>, 256> fromUnicode{};
    std::size_t mapped = 0;

    CodePage() {
        QStringDecoder decoder("windows-1250");
        for (int code = 0; code < 256; ++code) {
            const char byte = static_cast<char>(code);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            const char16_t character =
                decoded.size() == 1 ? decoded.front().unicode() : char16_t{0xFFFD};
            toUnicode[std::size_t(code)] = character;
            // Bytes the page leaves undefined decode to the replacement character; encoding
            // that back would turn a foreign character into a real code.
            if (character != 0xFFFD) {
                fromUnicode[mapped++] = {character, static_cast<unsigned char>(code)};
            }
        }
        std::sort(fromUnicode.begin(), fromUnicode.begin() + std::ptrdiff_t(mapped));
    }
};

const CodePage& codePage() {
    static const CodePage page;
    return page;
}

} // namespace

int windows1250Code(QStringView character) {
    if (character.size() != 1) {
        return -1;
    }
    const CodePage& page = codePage();
    const char16_t wanted = character.front().unicode();
    const auto end = page.fromUnicode.begin() + std::ptrdiff_t(page.mapped);
    const auto found = std::lower_bound(page.fromUnicode.begin(), end, wanted,
                                        [](const std::pair<char16_t, unsigned char>& entry,
                                           char16_t c) { return entry.first < c; });
    return found != end && found->first == wanted ? found->second : -1;
}

QString fromWindows1250(QByteArrayView bytes) {
    const CodePage& page = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        *out++ = QChar(page.toUnicode[static_cast<unsigned char>(byte)]);
    }
    return text;
}

bool isTypedCharacterCode(int code) {
    constexpr int del = 127;
    if (code == kKeyBackspace || code == kKeyTab || code == kKeyEnter || code == kKeyEscape) {
        return true;
    }
    // A character Windows-1250 lacks (-1) is still a key that typed something: a wrong one.
    return code != del && (code < 0 || code >= 32);
}

} // namespace tipora
