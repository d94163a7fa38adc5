#include "keyboard/demo_keys.h"

#include "ground/key_table.h"
#include "ground/utf8.h"

#include <QString>

namespace tipora {

namespace {
bool is(QChar character, std::string_view utf8) {
    if (utf8.empty()) {
        return false;
    }
    const QString text = fromUtf8(utf8);
    return text.size() == 1 && text.front() == character;
}
} // namespace

KeyForCharacter keyForCharacter(QChar character) {
    const char16_t upper = character.toUpper().unicode();
    if (upper >= u'A' && upper <= u'Z') {
        return {static_cast<int>(upper), character.isUpper(), true};
    }
    for (const CharacterKey& key : kCharacterKeys) {
        if (is(character, key.plain)) {
            return {key.code, false, true};
        }
        if (is(character, key.shifted)) {
            return {key.code, true, true};
        }
    }
    return {kKeyShift, false, false};
}

} // namespace tipora
