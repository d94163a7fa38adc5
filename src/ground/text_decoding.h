#pragma once

#include <QByteArrayView>
#include <QString>

namespace tipora {

// A text file of the learner's or a teacher's: UTF-8 when its bytes are valid UTF-8 (a byte
// order mark is dropped), Windows-1250 otherwise, as Czech texts of older editors are. Line ends
// (CR LF, a lone CR) become LF.
struct DecodedText {
    QString text;
    bool utf8 = false;
};
DecodedText decodeText(QByteArrayView bytes);

} // namespace tipora
