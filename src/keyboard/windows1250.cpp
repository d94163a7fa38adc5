#include "keyboard/windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tipora {

namespace {
constexpr const char* kCodePage = "windows-1250";
} // namespace

int windows1250Code(QStringView character) {
    if (character.isEmpty()) {
        return -1;
    }
    QStringEncoder encoder(kCodePage);
    const QByteArray bytes = encoder.encode(character);
    if (encoder.hasError() || bytes.size() != 1) {
        return -1;
    }
    return static_cast<unsigned char>(bytes.front());
}

QString fromWindows1250(QByteArrayView bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

bool isTypedCharacterCode(int code) {
    constexpr int backspace = 8;
    constexpr int tab = 9;
    constexpr int enter = 13;
    constexpr int escape = 27;
    constexpr int del = 127;
    if (code == backspace || code == tab || code == enter || code == escape) {
        return true;
    }
    // A character Windows-1250 lacks (-1) is still a key that typed something: a wrong one.
    return code != del && (code < 0 || code >= 32);
}

} // namespace tipora
