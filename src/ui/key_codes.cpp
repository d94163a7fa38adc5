#include "ui/key_codes.h"

#include "ground/key_table.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tipora::ui {

KeySource platformKeySource() {
#ifdef Q_OS_WIN
    return KeySource::Windows;
#else
    return keySourceForPlatform(QGuiApplication::platformName());
#endif
}

int keyCodeOf(const QKeyEvent& event, KeySource source) {
    if (event.modifiers().testFlag(Qt::KeypadModifier) && event.key() >= Qt::Key_0 &&
        event.key() <= Qt::Key_9) {
        return kKeyNumpad0 + (event.key() - Qt::Key_0);
    }
    return keyCodeForEvent({event.key(), event.nativeScanCode(), event.nativeVirtualKey()}, source);
}

} // namespace tipora::ui
