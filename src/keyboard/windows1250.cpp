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

} // namespace tipora
