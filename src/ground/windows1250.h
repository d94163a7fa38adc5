#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tipora {

// Lesson files and typed characters are compared by their Windows-1250 code, as the course was
// always written in that code page.

// The code of one typed character (a single character, possibly a surrogate pair), or -1 when
// Windows-1250 has no such character: it then matches nothing in a lesson.
int windows1250Code(QStringView character);

QString fromWindows1250(QByteArrayView bytes);

// Whether a key-press carries this code as a typed character: every printable character, and of
// the control codes only those of Backspace, Tab, Enter and Escape, which keyboards have always
// typed. Delete (127) or a Ctrl combination types nothing, so it is neither checked nor counted.
bool isTypedCharacterCode(int code);

} // namespace tipora
