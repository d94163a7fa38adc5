#include "keyboard/dead_keys.h"

#include <array>

namespace tipora {

namespace {

struct Composition {
    DeadKey dead;
    char16_t base;
    char16_t composed;
};

// Lower case only; capitals follow by case.
constexpr std::array<Composition, 14> kCompositions{{
    {DeadKey::Acute, u'a', u'á'},
    {DeadKey::Acute, u'e', u'é'},
    {DeadKey::Acute, u'i', u'í'},
    {DeadKey::Acute, u'o', u'ó'},
    {DeadKey::Acute, u'u', u'ú'},
    {DeadKey::Acute, u'y', u'ý'},
    {DeadKey::Caron, u'c', u'č'},
    {DeadKey::Caron, u'd', u'ď'},
    {DeadKey::Caron, u'e', u'ě'},
    {DeadKey::Caron, u'n', u'ň'},
    {DeadKey::Caron, u'r', u'ř'},
    {DeadKey::Caron, u's', u'š'},
    {DeadKey::Caron, u't', u'ť'},
    {DeadKey::Caron, u'z', u'ž'},
}};

} // namespace

std::optional<QChar> composeDeadKey(DeadKey dead, QChar base) {
    const char16_t lower = base.toLower().unicode();
    for (const Composition& c : kCompositions) {
        if (c.dead == dead && c.base == lower) {
            const QChar composed(c.composed);
            return base.isUpper() ? composed.toUpper() : composed;
        }
    }
    return std::nullopt;
}

std::optional<Decomposition> decomposeDeadKey(QChar composed) {
    const char16_t lower = composed.toLower().unicode();
    for (const Composition& c : kCompositions) {
        if (c.composed == lower) {
            const QChar base(c.base);
            return Decomposition{c.dead, composed.isUpper() ? base.toUpper() : base};
        }
    }
    return std::nullopt;
}

} // namespace tipora
