#pragma once

#include <QPoint>
#include <QRect>

// Where the children of a client area show, when it places them from an origin inside it, as Tk
// places the program's widgets inside its root window's internal border. The X server holds a
// window's position in 16 bits: a child placed past them shows where X wraps it, as Tk's does. A
// null origin places children as Qt does.
namespace widgets {

// A child placed at the rectangle, measured from the origin, shows at the answer, measured from the
// client area's corner.
QRect shownRect(const QRect &placed, QPoint origin);

// What is shown at the rectangle or point, measured from the origin: for any placed position that
// 16 bits hold, shownRect's inverse.
QRect placedRect(const QRect &shown, QPoint origin);
QPoint placedPoint(QPoint shown, QPoint origin);

} // namespace widgets
