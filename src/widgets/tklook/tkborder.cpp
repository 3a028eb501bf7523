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

// Tk_3DVerticalBevel.
void verticalBevel(QPainter &painter, const Border &border, int x, int y, int width, int height, bool left,
                   Relief relief)
{
    const QColor &outer = left ? border.light : border.dark;
    const QColor &inner = left ? border.dark : border.light;
    switch (relief) {
    case Relief::Raised: painter.fillRect(x, y, width, height, outer); return;
    case Relief::Sunken: painter.fillRect(x, y, width, height, inner); return;
    case Relief::Flat: painter.fillRect(x, y, width, height, border.background); return;
    case Relief::Solid: painter.fillRect(x, y, width, height, Qt::black); return;
    case Relief::Ridge:
    case Relief::Groove: {
        const QColor &first = relief == Relief::Ridge ? border.light : border.dark;
        const QColor &second = relief == Relief::Ridge ? border.dark : border.light;
        int half = width / 2;
        if (!left && (width & 1))
            ++half;
        painter.fillRect(x, y, half, height, first);
        painter.fillRect(x + half, y, width - half, height, second);
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
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (width < 0) {
        // The entry alone keeps a negative width. X takes a rectangle's width in 16 bits, so the left
        // bevel covers all to its right; the right one starts past the widget, the rows none.
        const int wrapped = quint16(width);
        verticalBevel(painter, border, rect.x(), rect.y(), wrapped, rect.height(), true, relief);
        return;
    }
    if (rect.width() < 2 * width)
        width = rect.width() / 2;
    if (rect.height() < 2 * width)
        width = rect.height() / 2;
    if (width <= 0)
        return;
    const int x = rect.x();
    const int y = rect.y();
    verticalBevel(painter, border, x, y, width, rect.height(), true, relief);
    verticalBevel(painter, border, x + rect.width() - width, y, width, rect.height(), false, relief);
    horizontalBevel(painter, border, x, y, rect.width(), width, true, true, true, relief);
    horizontalBevel(painter, border, x, y + rect.height() - width, rect.width(), width, false, false, false, relief);
}

void drawHighlightRing(QPainter &painter, QSize size, int thickness, const QColor &colour, int padding)
{
    if (thickness <= 0)
        return;
    const int width = size.width() - 2 * padding;
    const int height = size.height() - 2 * padding;
    painter.fillRect(padding, padding, width, thickness, colour);
    painter.fillRect(padding, size.height() - thickness - padding, width, thickness, colour);
    painter.fillRect(padding, padding, thickness, height, colour);
    painter.fillRect(size.width() - thickness - padding, padding, thickness, height, colour);
}

} // namespace widgets::tk
