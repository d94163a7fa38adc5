#include "lessons/own_text.h"

#include "ground/key_table.h"
#include "keyboard/character_strokes.h"
#include "lessons/drill_texts.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace tipora {

namespace {

constexpr std::array<std::pair<char16_t, const char*>, 10> kPlainForms{{
    {u'„', "\""},
    {u'“', "\""},
    {u'”', "\""},
    {u'‚', "'"},
    {u'‘', "'"},
    {u'’', "'"},
    {u'–', "-"},
    {u'—', "-"},
    {u'…', "..."},
    {u'\u00A0', " "},
}};

} // namespace

QString plainTypography(const QString& text, bool* changed) {
    QString plain;
    plain.reserve(text.size());
    bool any = false;
    for (const QChar c : text) {
        const auto form = std::find_if(kPlainForms.begin(), kPlainForms.end(),
                                       [c](const auto& f) { return f.first == c.unicode(); });
        if (form == kPlainForms.end()) {
            plain += c;
        } else {
            plain += QLatin1String(form->second);
            any = true;
        }
    }
    if (changed != nullptr) {
        *changed = any;
    }
    return plain;
}

QStringList wrapLines(const QString& text, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (QString word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() <= width) {
                line += QLatin1Char(' ') + word;
                continue;
            }
            if (!line.isEmpty()) {
                lines.append(line);
                line.clear();
            }
            // A word longer than the row is cut where the row ends.
            while (word.size() > width) {
                lines.append(word.left(width));
                word.remove(0, width);
            }
            line = word;
        }
        if (!line.isEmpty()) {
            lines.append(line);
        }
    }
    return lines;
}

std::vector<int> keyCodesOf(const QString& text) {
    std::set<int> codes;
    for (const QChar c : text) {
        const CharacterStroke stroke = characterStroke(c);
        if (!stroke.found || stroke.code == kKeyEnter) {
            continue;
        }
        codes.insert(stroke.code);
        if (stroke.shift || stroke.dead == DeadKey::Caron) {
            codes.insert({kKeyShift, kKeyRightShift});
        }
        if (stroke.dead) {
            codes.insert(kKeyDeadAccent);
        }
    }
    codes.erase(0);
    return {codes.begin(), codes.end()};
}

OwnText prepareOwnText(const QString& text, int width) {
    OwnText own;
    QString plain = plainTypography(text, &own.plainedTypography);
    plain.replace(QLatin1Char('\t'), QLatin1Char(' '));
    int line = 1;
    int column = 1;
    for (const QChar c : plain) {
        if (c == QLatin1Char('\n')) {
            ++line;
            column = 1;
            continue;
        }
        if (!characterStroke(c).found) {
            own.problem = texts::untypeableCharacter(c, line, column);
            return own;
        }
        ++column;
    }
    own.lines = wrapLines(plain, width);
    own.keyCodes = keyCodesOf(own.lines.join(QLatin1Char(' ')));
    if (own.lines.isEmpty()) {
        own.problem = texts::kEmptyOwnText;
    }
    return own;
}

} // namespace tipora
