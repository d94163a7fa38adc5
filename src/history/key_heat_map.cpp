#include "history/key_heat_map.h"

#include "ground/key_table.h"
#include "ground/utf8.h"
#include "history/history_texts.h"
#include "keyboard/character_strokes.h"

#include <QStringList>
#include <algorithm>

namespace tipora {

namespace {

// How a character is named where a bare glyph would be invisible or unreadable.
QString characterName(const QString& character) {
    if (character.size() != 1) {
        return character.isEmpty() ? texts::kOtherCharacterName : character;
    }
    switch (character.front().unicode()) {
    case u'\n':
    case u'\r':
        return texts::kEnterName;
    case u' ':
        return texts::kSpaceName;
    case u'\t':
        return texts::kTabName;
    case u'\b':
        return texts::kBackspaceName;
    case 0x1B:
        return texts::kEscapeName;
    case QChar::ReplacementCharacter:
        return texts::kOtherCharacterName;
    default:
        break;
    }
    return character.front().isPrint() ? character : texts::kOtherCharacterName;
}

// The key as the keyboard labels it.
QString keyName(int code) {
    if (code == kKeySpace) {
        return texts::kSpaceName;
    }
    const std::optional<KeyDef> key = findKey(code);
    return key ? fromUtf8(key->caption).trimmed() : QString();
}

QString characterText(const KeyCharacter& c) {
    QStringList keys;
    if (c.dead) {
        keys << QString(*c.dead == DeadKey::Acute ? kAcute : kCaron);
    }
    if (c.shift) {
        keys << texts::kShiftKey;
    }
    const QString name = characterName(QString(c.character));
    return keys.isEmpty() ? name : texts::characterWithKeys(name, keys.join(QStringLiteral(" + ")));
}

// Plain characters first, as the learner thinks of the key.
int effort(const KeyCharacter& c) {
    return (c.dead ? 2 : 0) + (c.shift ? 1 : 0);
}

QString percentText(const QLocale& locale, int errors, int strokes) {
    return locale.toString(100.0 * errors / strokes, 'f', 1);
}

QString perMilleAsPercent(const QLocale& locale, int perMille) {
    return locale.toString(perMille / 10.0, 'g', QLocale::FloatingPointShortest);
}

} // namespace

KeyPeriod keyPeriod(HeatPeriod period, const QDateTime& now) {
    switch (period) {
    case HeatPeriod::LastLesson:
        return KeyPeriod::lastLesson();
    case HeatPeriod::LastWeek:
        return KeyPeriod::from(now.addDays(-7));
    case HeatPeriod::Everything:
        break;
    }
    return KeyPeriod::everything();
}

Heat KeyHeat::heat() const {
    if (strokes <= 0) {
        return Heat::None;
    }
    Heat reached = Heat::None;
    for (const HeatBand& band : kHeatBands) {
        if (qint64{errors} * 1000 >= qint64{band.fromPerMille} * strokes) {
            reached = band.heat;
        }
    }
    return reached;
}

std::optional<qint64> KeyHeat::meanMs() const {
    if (timed <= 0) {
        return std::nullopt;
    }
    // Rounded half up: 310,5 ms reads as 311.
    return (2 * totalMs + timed) / (2 * qint64{timed});
}

KeyHeatMap::KeyHeatMap(const QList<KeyFigure>& figures, QLocale locale)
    : locale_(std::move(locale)) {
    std::map<int, std::map<QString, int>> confusions;
    for (const KeyFigure& figure : figures) {
        if (figure.expected.size() != 1) {
            continue;
        }
        const QChar character = figure.expected.front();
        const CharacterStroke stroke = characterStroke(character);
        // A character no key makes cannot be shown on the keyboard.
        if (!stroke.found || !findKey(stroke.code)) {
            continue;
        }
        KeyHeat& key = keys_[stroke.code];
        key.code = stroke.code;
        const bool known =
            std::any_of(key.characters.begin(), key.characters.end(),
                        [&](const KeyCharacter& c) { return c.character == character; });
        if (!known) {
            key.characters.append({character, stroke.shift, stroke.dead});
        }
        if (figure.typed.isEmpty()) {
            key.strokes += figure.strokes;
            key.errors += figure.errors;
            key.timed += figure.timed;
            key.totalMs += figure.totalMs;
        } else {
            confusions[stroke.code][figure.typed] += figure.errors;
        }
    }
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->second.strokes <= 0) {
            it = keys_.erase(it);
            continue;
        }
        KeyHeat& key = it->second;
        std::stable_sort(
            key.characters.begin(), key.characters.end(),
            [](const KeyCharacter& a, const KeyCharacter& b) { return effort(a) < effort(b); });
        // The first of equals in code order, so the same figures always name the same one.
        for (const auto& [typed, count] : confusions[key.code]) {
            if (count > key.confusionCount) {
                key.confusion = typed;
                key.confusionCount = count;
            }
        }
        ++it;
    }
    rank();
}

void KeyHeatMap::rank() {
    QList<const KeyHeat*> weak;
    QList<const KeyHeat*> slow;
    for (const auto& [code, key] : keys_) {
        if (key.strokes < kMinRankedStrokes) {
            continue;
        }
        if (key.errors > 0) {
            weak << &key;
        }
        if (key.timed > 0) {
            slow << &key;
        }
    }
    // Rates and means compared as cross products: no rounding makes two keys trade places.
    std::stable_sort(weak.begin(), weak.end(), [](const KeyHeat* a, const KeyHeat* b) {
        const qint64 left = qint64{a->errors} * b->strokes;
        const qint64 right = qint64{b->errors} * a->strokes;
        return left != right ? left > right : a->strokes > b->strokes;
    });
    std::stable_sort(slow.begin(), slow.end(), [](const KeyHeat* a, const KeyHeat* b) {
        return a->totalMs * b->timed > b->totalMs * a->timed;
    });
    for (const KeyHeat* key : weak.first(std::min<qsizetype>(weak.size(), kRankedKeys))) {
        weakest_ << key->code;
    }
    for (const KeyHeat* key : slow.first(std::min<qsizetype>(slow.size(), kRankedKeys))) {
        slowest_ << key->code;
    }
}

const KeyHeat* KeyHeatMap::key(int code) const {
    const auto it = keys_.find(code);
    return it == keys_.end() ? nullptr : &it->second;
}

Heat KeyHeatMap::heat(int code) const {
    const KeyHeat* k = key(code);
    return k ? k->heat() : Heat::None;
}

Color KeyHeatMap::colour(Heat heat) {
    for (const HeatBand& band : kHeatBands) {
        if (band.heat == heat) {
            return band.colour;
        }
    }
    return kNoFiguresColour;
}

Color KeyHeatMap::colour(int code) const {
    return colour(heat(code));
}

QString KeyHeatMap::hoverText(int code) const {
    const KeyHeat* k = key(code);
    if (k == nullptr) {
        return texts::keyWithoutStrokes(keyName(code));
    }
    QStringList characters;
    for (const KeyCharacter& c : k->characters) {
        characters << characterText(c);
    }
    QString text =
        texts::keyFigures(characters.join(QStringLiteral(", ")),
                          texts::strokesCounted(locale_.toString(k->strokes), k->strokes),
                          texts::errorsCounted(locale_.toString(k->errors), k->errors),
                          percentText(locale_, k->errors, k->strokes));
    if (const std::optional<qint64> mean = k->meanMs()) {
        text += texts::keyMeanTime(locale_.toString(*mean));
    }
    if (k->confusionCount > 0) {
        text +=
            texts::keyConfusion(characterName(k->confusion), locale_.toString(k->confusionCount));
    }
    return text;
}

QString KeyHeatMap::weakestText(int code) const {
    const KeyHeat* k = key(code);
    return k ? texts::weakestEntry(keyName(code), percentText(locale_, k->errors, k->strokes))
             : QString();
}

QString KeyHeatMap::slowestText(int code) const {
    const KeyHeat* k = key(code);
    const std::optional<qint64> mean = k ? k->meanMs() : std::nullopt;
    return mean ? texts::slowestEntry(keyName(code), locale_.toString(*mean)) : QString();
}

QString KeyHeatMap::legendText(Heat heat) const {
    for (std::size_t i = 0; i < kHeatBands.size(); ++i) {
        if (kHeatBands[i].heat != heat) {
            continue;
        }
        const QString from = perMilleAsPercent(locale_, kHeatBands[i].fromPerMille);
        if (i + 1 == kHeatBands.size()) {
            return texts::legendFrom(from);
        }
        const QString to = perMilleAsPercent(locale_, kHeatBands[i + 1].fromPerMille);
        return i == 0 ? texts::legendBelow(to) : texts::legendBetween(from, to);
    }
    return texts::kLegendNone;
}

} // namespace tipora
