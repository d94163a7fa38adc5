#include "ground/text_decoding.h"

#include "ground/windows1250.h"

#include <QStringDecoder>

namespace tipora {

DecodedText decodeText(QByteArrayView bytes) {
    DecodedText decoded;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    decoded.text = utf8.decode(bytes);
    decoded.utf8 = !utf8.hasError();
    if (!decoded.utf8) {
        decoded.text = fromWindows1250(bytes);
    }
    decoded.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    decoded.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return decoded;
}

} // namespace tipora
