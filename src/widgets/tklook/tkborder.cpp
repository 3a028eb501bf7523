#include "widgets/tklook/tkborder.h"

#include "widgets/tklook/optionvalues.h"

#include <QPainter>

namespace widgets::tk {

namespace {

constexpr int MaxIntensity = 65535;

int lighter(int c)
{
    return qMax(qMin(14 * c / 10, MaxIntensity), (MaxIntensity + c) / 2);
}

// XFillRectangle: X takes a rectangle's position in 16 signed bits and its size in 16 unsigned ones,
// whatever Tk asked for; a negative width is a wide rectangle.
void fillXRectangle(QPainter &painter, qint64 x, qint64 y, qint64 width, qint64 height, const QColor &colour)
{
    painter.fillRect(qint16(x), qint16(y), quint16(width), quint16(height), colour);
}

// Tk_3DVerticalBevel.
void verticalBevel(QPainter &painter, const Border &border, qint64 x, qint64 y, qint64 width, qint64 height,
                   bool left, Relief relief)
{
    const QColor &outer = left ? border.light : border.dark;
    const QColor &inner = left ? border.dark : border.light;
    switch (relief) {
    case Relief::Raised: fillXRectangle(painter, x, y, width, height, outer); return;
    case Relief::Sunken: fillXRectangle(painter, x, y, width, height, inner); return;
    case Relief::Flat: fillXRectangle(painter, x, y, width, height, border.background); return;
    case Relief::Solid: fillXRectangle(painter, x, y, width, height, Qt::black); return;
    case Relief::Ridge:
    case Relief::Groove: {
        const QColor &first = relief == Relief::Ridge ? border.light : border.dark;
        const QColor &second = relief == Relief::Ridge ? border.dark : border.light;
        qint64 half = width / 2;
        if (!left && (width & 1))
            ++half;
        fillXRectangle(painter, x, y, half, height, first);
        fillXRectangle(painter, x + half, y, width - half, height, second);
        return;
    }
    }
}

// Tk_3DHorizontalBevel: row by row, its ends slanted in or out to meet the vertical bevels.
void horizontalBevel(QPainter &painter, const Border &border, int x, int y, int width, int height, bool leftIn,
                     bool rightIn, bool top, Relief relief)
{
    QColor upper;
    QColor lower;
    switch (relief) {
    case Relief::Flat: upper = lower = border.background; break;
    case Relief::Groove: upper = border.dark; lower = border.light; break;
    case Relief::Raised: upper = lower = top ? border.light : border.dark; break;
    case Relief::Ridge: upper = border.light; lower = border.dark; break;
    case Relief::Solid: painter.fillRect(x, y, width, height, Qt::black); return;
    case Relief::Sunken: upper = lower = top ? border.dark : border.light; break;
    }
    int x1 = leftIn ? x : x + height;
    int x2 = rightIn ? x + width : x + width - height;
    const int x1Delta = leftIn ? 1 : -1;
    const int x2Delta = rightIn ? -1 : 1;
    int halfway = y + height / 2;
    if (!top && (height & 1))
        ++halfway;
    for (const int bottom = y + height; y < bottom; ++y) {
        x1 = qMax(x1, -32767);
        x2 = qMin(x2, 32767);
        if (x1 < x2)
            painter.fillRect(x1, y, x2 - x1, 1, y < halfway ? upper : lower);
        x1 += x1Delta;
        x2 += x2Delta;
    }
}

} // namespace

Border borderOf(QRgba64 background)
{
    const int r = background.red();
    const int g = background.green();
    const int b = background.blue();
    QRgba64 dark;
    if (r * 0.5 * r + g * 1.0 * g + b * 0.28 * b < MaxIntensity * 0.05 * MaxIntensity)
        dark = QRgba64::fromRgba64((MaxIntensity + 3 * r) / 4, (MaxIntensity + 3 * g) / 4, (MaxIntensity + 3 * b) / 4, MaxIntensity);
    else
        dark = QRgba64::fromRgba64(60 * r / 100, 60 * g / 100, 60 * b / 100, MaxIntensity);
    QRgba64 light;
    if (g > MaxIntensity * 0.95)
        light = QRgba64::fromRgba64(90 * r / 100, 90 * g / 100, 90 * b / 100, MaxIntensity);
    else
        light = QRgba64::fromRgba64(lighter(r), lighter(g), lighter(b), MaxIntensity);
    return Border{shownColour(background), shownColour(light), shownColour(dark)};
}

void draw3DRectangle(QPainter &painter, const Border &border, const QRect &rect, int width, Relief relief)
{
    // As Tk_Draw3DRectangle reckons, in 64 bits where its ints would overflow. A negative width (the
    // entry's, the root window's) leaves no rows, and its bevels reach across.
    qint64 bevel = width;
    if (rect.width() < 2 * bevel)
        bevel = rect.width() / 2;
    if (rect.height() < 2 * bevel)
        bevel = rect.height() / 2;
    const qint64 x = rect.x();
    const qint64 y = rect.y();
    verticalBevel(painter, border, x, y, bevel, rect.height(), true, relief);
    verticalBevel(painter, border, x + rect.width() - bevel, y, bevel, rect.height(), false, relief);
    if (bevel <= 0)
        return;
    horizontalBevel(painter, border, rect.x(), rect.y(), rect.width(), int(bevel), true, true, true, relief);
    horizontalBevel(painter, border, rect.x(), rect.y() + rect.height() - int(bevel), rect.width(), int(bevel), false,
                    false, false, relief);
}

void fill3DRectangle(QPainter &painter, const Border &border, const QRect &rect, int width, Relief relief)
{
    // Tk_Fill3DRectangle fills only what its border leaves, and draws no flat border.
    qint64 bevel = relief == Relief::Flat ? 0 : width;
    if (rect.width() < 2 * bevel)
        bevel = rect.width() / 2;
    if (rect.height() < 2 * bevel)
        bevel = rect.height() / 2;
    if (rect.width() > 2 * bevel && rect.height() > 2 * bevel)
        fillXRectangle(painter, rect.x() + bevel, rect.y() + bevel, rect.width() - 2 * bevel,
                       rect.height() - 2 * bevel, border.background);
    if (bevel != 0)
        draw3DRectangle(painter, border, rect, int(bevel), relief);
}

void drawHighlightRing(QPainter &painter, QSize size, int thickness, const QColor &colour, int padding)
{
    if (thickness <= 0)
        return;
    // TkDrawInsetFocusHighlight's four rectangles, as X takes them.
    const qint64 ring = thickness;
    const qint64 width = size.width() - 2 * qint64(padding);
    const qint64 sides = size.height() - 2 * ring - 2 * qint64(padding);
    fillXRectangle(painter, padding, padding, width, ring, colour);
    fillXRectangle(painter, padding, size.height() - ring - padding, width, ring, colour);
    fillXRectangle(painter, padding, ring + padding, ring, sides, colour);
    fillXRectangle(painter, size.width() - ring - padding, ring + padding, ring, sides, colour);
}

} // namespace widgets::tk
