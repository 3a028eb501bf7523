#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace design {

// Which edges follow the pointer while a widget is dragged. Move drags the whole widget.
enum class DragMode { Move, Left, Top, Right, Bottom, TopLeft, TopRight, BottomRight, BottomLeft };

// The one drag in progress, if any.
struct DragState
{
    bool active = false;        // idle when false
    DragMode mode = DragMode::Move;
    quintptr target = 0;        // native handle of the widget being dragged
    QRect pressGeometry;        // the widget's outer rectangle in the design window's client area at the press
    QPoint pressPointer;        // the pointer in screen coordinates at the press
    QRect lastApplied;          // the rectangle most recently given to the widget in this drag
};

} // namespace design
