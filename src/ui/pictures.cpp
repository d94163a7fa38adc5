#include "ui/pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>

namespace tipora::pictures {

namespace {

const QColor faceGrey(0xd4, 0xd0, 0xc8);
const QColor shadowGrey(0x80, 0x80, 0x80);
const QColor iconBody(0x15, 0x4a, 0x8a);
const QColor iconTop(0x2a, 0x7f, 0xd6);
const QColor iconLetter(0xff, 0xc4, 0x3d);

// Pixel sizes rather than points keep the drawings identical on every screen DPI; the
// pictures have fixed sizes, so text measured in points could overflow them.
QFont sansFont(int pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPixmap filledPixmap(int width, int height, const QColor& fill) {
    QPixmap pixmap(width, height);
    pixmap.setDevicePixelRatio(1.0);
    pixmap.fill(fill);
    return pixmap;
}

// The classic raised look: light from the top left. Drawn with fillRect so the one-pixel
// edges stay sharp even when the caller has switched on antialiasing.
void paintRaisedFace(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, faceGrey);
    painter.fillRect(rect.left(), rect.top(), rect.width() - 1, 1, Qt::white);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height() - 1, Qt::white);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, shadowGrey.darker(160));
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), shadowGrey.darker(160));
    painter.fillRect(rect.left() + 1, rect.bottom() - 1, rect.width() - 2, 1, shadowGrey);
    painter.fillRect(rect.right() - 1, rect.top() + 1, 1, rect.height() - 2, shadowGrey);
}

QPixmap slideButton(bool pointingUp) {
    QPixmap pixmap = filledPixmap(32, 32, faceGrey);
    QPainter painter(&pixmap);
    paintRaisedFace(painter, pixmap.rect());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const qreal top = pointingUp ? 11.0 : 20.0;
    const qreal base = pointingUp ? 20.0 : 11.0;
    painter.drawPolygon(QPolygonF{{QPointF(8.0, base), QPointF(24.0, base), QPointF(16.0, top)}});
    return pixmap;
}

// A key cap seen slightly from the front, with a "T" on its top face. Every edge lands on a
// whole pixel, so the cap stays crisp at 16 pixels as well as at the about box's size.
void paintKeyCap(QPainter& painter, const QRect& area) {
    const int s = area.width();
    const auto part = [s](double fraction) { return int(std::lround(s * fraction)); };
    const QRect body = area.adjusted(part(0.03), part(0.03), -part(0.03), -part(0.03));
    const QRect top = body.adjusted(part(0.11), part(0.05), -part(0.11), -part(0.19));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(iconBody);
    painter.drawRoundedRect(body, s * 0.18, s * 0.18);

    QLinearGradient shine(top.topLeft(), top.bottomLeft());
    shine.setColorAt(0.0, iconTop.lighter(115));
    shine.setColorAt(1.0, iconTop);
    painter.setBrush(shine);
    painter.drawRoundedRect(top, s * 0.12, s * 0.12);

    // Built from rectangles rather than a glyph: a font letter this small gets hinted into
    // a blur. Widths keep the parity of the face so the letter sits exactly in the middle.
    const auto matchParity = [&top](int width) { return width + (top.width() - width) % 2; };
    const int barWidth = matchParity(int(top.width() * 0.7));
    const int stemWidth = matchParity(std::max(2, part(0.15)));
    const int barHeight = std::max(2, part(0.14));
    const int letterTop = top.top() + std::max(2, part(0.12));
    const int letterBottom = top.bottom() - std::max(1, part(0.1));
    painter.setBrush(iconLetter);
    painter.drawRect(top.left() + (top.width() - barWidth) / 2, letterTop, barWidth, barHeight);
    painter.drawRect(top.left() + (top.width() - stemWidth) / 2, letterTop, stemWidth,
                     letterBottom - letterTop + 1);
    painter.restore();
}

QPixmap iconPixmap(int size) {
    QPixmap pixmap = filledPixmap(size, size, Qt::transparent);
    QPainter painter(&pixmap);
    paintKeyCap(painter, QRect(0, 0, size, size));
    return pixmap;
}

struct HomeKey {
    QString letter;
    QString finger;
};

// One key of the home row; the key a finger finds by touch carries the tactile bar.
void paintHomeKey(QPainter& painter, const QRectF& key, const QString& letter, bool tactile) {
    const qreal keyCentre = std::floor(key.center().x()) + 0.5;
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(key, 3, 3);
    painter.setFont(sansFont(14, true));
    // Letters sit a little high so the tactile bar has room below even the tail of "j".
    painter.drawText(key.adjusted(0, 0, 0, -6), Qt::AlignCenter, letter);
    if (tactile) {
        painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(keyCentre - 4, key.bottom() - 3.5),
                         QPointF(keyCentre + 4, key.bottom() - 3.5));
    }
}

// One hand of the finger guide, centred on centreX. The outer two fingers are named on the
// upper line and the inner two on the lower one, pushed apart so the long names never touch;
// their leader lines drop between the upper names and then bend towards their own label.
void paintHand(QPainter& painter, qreal centreX, const QString& heading,
               const std::array<HomeKey, 4>& keys, int tactileKey) {
    constexpr qreal keySize = 25.0;
    constexpr qreal keyPitch = 31.0;
    constexpr qreal keyTop = 16.5;
    constexpr qreal upperNameTop = 50.0;
    constexpr qreal lowerNameTop = 71.0;
    constexpr qreal nameHeight = 12.0;
    constexpr qreal lowerNameGap = 14.0;

    const qreal rowWidth = 3 * keyPitch + keySize;
    const qreal rowLeft = std::floor(centreX - rowWidth / 2) + 0.5;
    const qreal middle = rowLeft + rowWidth / 2;
    const QPen leader(QColor(0xa8, 0xa8, 0xa8), 1.0);

    painter.setPen(Qt::white);
    painter.setFont(sansFont(12, true));
    painter.drawText(QRectF(rowLeft - 20, 0, rowWidth + 40, 15), Qt::AlignCenter, heading);

    const QFont nameFont = sansFont(10);
    const QFontMetricsF nameMetrics(nameFont);

    for (int i = 0; i < 4; ++i) {
        const QRectF key(rowLeft + i * keyPitch, keyTop, keySize, keySize);
        const qreal keyCentre = std::floor(key.center().x()) + 0.5;

        paintHomeKey(painter, key, keys[i].letter, i == tactileKey);

        const qreal width = std::ceil(nameMetrics.horizontalAdvance(keys[i].finger));
        const bool upper = i == 0 || i == 3;
        qreal left = keyCentre - width / 2;
        if (i == 1)
            left = middle - lowerNameGap / 2 - width;
        else if (i == 2)
            left = middle + lowerNameGap / 2;
        const QRectF name(left, upper ? upperNameTop : lowerNameTop, width, nameHeight);

        painter.setPen(leader);
        if (upper) {
            painter.drawLine(QPointF(keyCentre, key.bottom() + 2),
                             QPointF(keyCentre, name.top() - 1));
        } else {
            const qreal bend = upperNameTop + nameHeight - 1;
            const QPointF path[] = {QPointF(keyCentre, key.bottom() + 2), QPointF(keyCentre, bend),
                                    QPointF(name.center().x(), name.top() - 1)};
            painter.drawPolyline(path, 3);
        }
        painter.setPen(Qt::white);
        painter.setFont(nameFont);
        painter.drawText(name, Qt::AlignCenter, keys[i].finger);
    }
}

} // namespace

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(iconPixmap(size));
    return icon;
}

QPixmap fingerGuide() {
    QPixmap pixmap = filledPixmap(323, 84, Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const std::array<HomeKey, 4> left{{{QStringLiteral("a"), QStringLiteral("malík")},
                                       {QStringLiteral("s"), QStringLiteral("prsteník")},
                                       {QStringLiteral("d"), QStringLiteral("prostředník")},
                                       {QStringLiteral("f"), QStringLiteral("ukazovák")}}};
    const std::array<HomeKey, 4> right{{{QStringLiteral("j"), QStringLiteral("ukazovák")},
                                        {QStringLiteral("k"), QStringLiteral("prostředník")},
                                        {QStringLiteral("l"), QStringLiteral("prsteník")},
                                        {QStringLiteral("ů"), QStringLiteral("malík")}}};
    paintHand(painter, 80.5, QStringLiteral("levá ruka"), left, 3);
    paintHand(painter, 242.5, QStringLiteral("pravá ruka"), right, 0);

    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.0, Qt::DotLine));
    painter.drawLine(QPointF(161.5, 4), QPointF(161.5, 80));
    return pixmap;
}

QPixmap loudspeaker() {
    QPixmap pixmap = filledPixmap(24, 22, faceGrey);
    QPainter painter(&pixmap);
    paintRaisedFace(painter, pixmap.rect());
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF{{QPointF(4, 8), QPointF(7, 8), QPointF(12, 3.5),
                                   QPointF(12, 18.5), QPointF(7, 14), QPointF(4, 14)}});

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    // Qt measures arc angles in sixteenths of a degree.
    painter.drawArc(QRectF(10, 7.5, 6, 6), -55 * 16, 110 * 16);
    painter.drawArc(QRectF(9, 4, 11, 13), -55 * 16, 110 * 16);
    return pixmap;
}

QPixmap nextLineArrow() {
    QPixmap pixmap = filledPixmap(32, 32, Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Down the left side, then round the corner to the right: the way the eye moves from
    // the end of one line to the start of the next.
    QPainterPath shaft;
    shaft.moveTo(9, 5);
    shaft.lineTo(9, 17);
    shaft.quadTo(9, 22, 14, 22);
    shaft.lineTo(21, 22);
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shaft);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF{{QPointF(19, 15.5), QPointF(27.5, 22), QPointF(19, 28.5)}});
    return pixmap;
}

QPixmap slideOutButton() {
    return slideButton(false);
}

QPixmap slideInButton() {
    return slideButton(true);
}

QPixmap aboutPicture() {
    constexpr int width = 258;
    constexpr int height = 154;
    QPixmap pixmap = filledPixmap(width, height, Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(0x12, 0x2b, 0x4f));
    sky.setColorAt(1.0, QColor(0x1f, 0x5c, 0x8c));
    painter.fillRect(pixmap.rect(), sky);

    // A faint row of key caps along the bottom edge, running off both sides.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 22));
    for (int x = -10; x < width; x += 26)
        painter.drawRoundedRect(QRectF(x, height - 20, 22, 22), 4, 4);

    // The cap's dark body would melt into the background without a faint halo behind it.
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawRoundedRect(QRectF(16, 14, 48, 48), 10, 10);
    paintKeyCap(painter, QRect(18, 16, 44, 44));

    painter.setPen(Qt::white);
    painter.setFont(sansFont(32, true));
    painter.drawText(QRectF(72, 12, width - 82, 36), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Tipora"));
    painter.setPen(QColor(0xbf, 0xd8, 0xf0));
    painter.setFont(sansFont(12));
    painter.drawText(QRectF(74, 46, width - 84, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("verze 1.5"));

    painter.setPen(QColor(255, 255, 255, 70));
    painter.drawLine(QPointF(18, 72.5), QPointF(width - 18, 72.5));

    painter.setPen(Qt::white);
    painter.setFont(sansFont(13));
    painter.drawText(QRectF(12, 78, width - 24, 34), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Výuka psaní všemi deseti\nna české klávesnici"));
    painter.setPen(QColor(0xbf, 0xd8, 0xf0));
    painter.setFont(sansFont(11));
    painter.drawText(QRectF(12, 114, width - 24, 16), Qt::AlignCenter,
                     QStringLiteral("Svobodný software, licence MIT"));
    return pixmap;
}

} // namespace tipora::pictures
