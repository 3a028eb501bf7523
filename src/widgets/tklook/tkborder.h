#pragma once

#include "widgets/tklook/tklayout.h"

#include <QColor>
#include <QRgba64>

class QPainter;
class QRect;
class QSize;

// Tk's 3D borders on a colour X screen (tk3d.c, tkUnix3d.c): the shadows it derives from a
// background, and the bevels of each relief.
namespace widgets::tk {

struct Border
{
    QColor background;
    QColor light;
    QColor dark;
};

// TkpGetShadows: the dark shadow 40 % darker (a quarter of the way to white on a very dark colour),
// the light one 40 % brighter or half-way to white, whichever is more (10 % darker on a very bright one).
Border borderOf(QRgba64 background);

// Tk_Draw3DRectangle: a border of the width and relief just inside the rectangle. Solid is black. A
// negative width, and a rectangle too small for its border, paint what X paints for them.
void draw3DRectangle(QPainter &painter, const Border &border, const QRect &rect, int width, Relief relief);

// Tk_Fill3DRectangle: the rectangle in the border's background, with a border of the width and relief
// (none when flat) just inside it.
void fill3DRectangle(QPainter &painter, const Border &border, const QRect &rect, int width, Relief relief);

// The ring Tk draws in the highlight background while the widget does not have the focus, `padding`
// pixels inside the widget's edges.
void drawHighlightRing(QPainter &painter, QSize size, int thickness, const QColor &colour, int padding = 0);

} // namespace widgets::tk
