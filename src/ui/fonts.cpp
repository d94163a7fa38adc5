#include "ui/fonts.h"

#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

namespace tipora::ui {

namespace {

// Metric-compatible fonts first (Debian's fonts-liberation), then the classic faces.
QStringList familiesFor(FontFace face) {
    switch (face) {
    case FontFace::Serif:
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman")};
    case FontFace::Mono:
        return {QStringLiteral("Liberation Mono"), QStringLiteral("Courier New")};
    case FontFace::Sans:
        return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
    case FontFace::Symbol:
        // Needs the return arrow, which the Liberation fonts lack.
        return {QStringLiteral("DejaVu Sans"), QStringLiteral("Segoe UI Symbol"),
                QStringLiteral("Liberation Sans")};
    }
    return {};
}

QFont::StyleHint hintFor(FontFace face) {
    switch (face) {
    case FontFace::Serif:
        return QFont::Serif;
    case FontFace::Mono:
        return QFont::Monospace;
    case FontFace::Sans:
    case FontFace::Symbol:
        return QFont::SansSerif;
    }
    return QFont::AnyStyle;
}

} // namespace

int pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QRect pixelRect(const Geometry& twips) {
    return {pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height)};
}

QFont fontFor(const FontSpec& style) {
    QFont font;
    font.setFamilies(familiesFor(style.face));
    font.setStyleHint(hintFor(style.face));
    font.setPixelSize(static_cast<int>(std::lround(style.points * 96.0 / 72.0)));
    font.setBold(style.bold);
    if (style.face == FontFace::Mono) {
        font.setFixedPitch(true);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferFullHinting);
        const double cell = static_cast<double>(kColumnWidth) / kTwipsPerPixel;
        const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
        font.setLetterSpacing(QFont::AbsoluteSpacing, cell - advance);
    }
    return font;
}

} // namespace tipora::ui
