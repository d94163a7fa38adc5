#pragma once

#include "app/form_model.h"

#include <QFont>
#include <QRect>

namespace tipora::ui {

// The window is laid out at 96 logical dots per inch; Qt scales logical pixels on dense screens.
inline constexpr int kTwipsPerPixel = 15;

int pixels(int twips);
QRect pixelRect(const Geometry& twips);

// Fonts are sized in pixels, so the layout does not depend on the display's reported DPI. The
// fixed-pitch font gets exactly one cell of kColumnWidth per character.
QFont fontFor(const FontSpec& style);

} // namespace tipora::ui
