#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

// What the designer knows of the screen, read in one place. Two resolutions, each for one purpose:
// - the layout resolution, the screen's logical one as Qt gives it with its own scaling off (the
//   Xft.dpi a desktop sets, times a scale asked of Qt, or 96): the interface's lengths scale by it,
//   and a font size in points becomes a height in pixels by it, in the designer as in its records;
// - the text resolution, at which Xft sizes Tk's text on the X server that DISPLAY names, where the
//   generated programs show their windows (its Xft.dpi, else its physical resolution): what Tk draws
//   the program's text at, and so what bounds a font size.
namespace widgets {

// The layout resolution in whole dots per inch, at which points and pixel heights convert.
int layoutDotsPerInch();

// Screen pixels per layout unit of the interface: the layout resolution over 96.
qreal interfaceScale();

// The text resolution in dots per inch. Read once.
double textDotsPerInch();

// The largest size in points whose text Tk can draw at the text resolution: larger glyphs overflow
// an X request, and the program ends with an X error. A size larger than that is taken as it.
int largestTextPoints();
int drawableTextPoints(int points);

// The primary screen less its panels and docks.
QRect availableArea();

// An outer size less a frame, at least one pixel each way: the room a client area has. Of the
// available area, it is the largest a window with that frame can be and stay on the screen.
QSize clientRoom(QSize outer, QSize frame);

} // namespace widgets
