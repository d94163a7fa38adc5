#include "ground/windows1250.h"

#include "ground/key_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tipora {

namespace {

// The page's upper half, byte 0x80 first; the lower half is ASCII. Kept as data rather than
// asked of the system's converter: opening that converter maps about 1.5 MB of conversion
// tables and takes a millisecond, for 128 characters that never change. The five bytes the
// page leaves undefined stand for the control characters of the same number, as the system's
// converter has always read them.
constexpr std::array<char16_t, 128> kUpperHalf{{
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // 0xF8
}};

struct CodePage {
    std::array<char16_t, 256> toUnicode{};
    // (character, code), sorted by character, for the characters the page has.
    std::array<std::pair<char16_t, unsigned char>, 256> fromUnicode{};
    std::size_t mapped = 0;

    constexpr CodePage() {
        for (std::size_t code = 0; code < 256; ++code) {
            const char16_t character =
                code < 128 ? static_cast<char16_t>(code) : kUpperHalf[code - 128];
            toUnicode[code] = character;
            fromUnicode[mapped++] = {character, static_cast<unsigned char>(code)};
        }
        std::sort(fromUnicode.begin(), fromUnicode.begin() + std::ptrdiff_t(mapped));
    }
};

constexpr CodePage kCodePage;

const CodePage& codePage() {
    return kCodePage;
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
