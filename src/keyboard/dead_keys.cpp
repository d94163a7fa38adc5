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

namespace {
QChar accentOf(DeadKey dead) {
    return dead == DeadKey::Acute ? kAcute : kCaron;
}
} // namespace

QString DeadKeyComposer::deadKey(DeadKey dead) {
    if (!pending_) {
        pending_ = dead;
        return {};
    }
    // The waiting accent comes out; a different dead key then waits in its place.
    const QString accent(accentOf(*pending_));
    if (*pending_ == dead) {
        pending_.reset();
    } else {
        pending_ = dead;
    }
    return accent;
}

QString DeadKeyComposer::text(const QString& typed) {
    if (!pending_ || typed.isEmpty()) {
        return typed;
    }
    const DeadKey dead = *pending_;
    pending_.reset();
    if (typed == QStringLiteral(" ")) {
        return QString(accentOf(dead));
    }
    if (const auto composed = composeDeadKey(dead, typed.front())) {
        return *composed + typed.mid(1);
    }
    return accentOf(dead) + typed;
}

} // namespace tipora
