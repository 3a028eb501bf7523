#pragma once

#include "widgets/nativewindows.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>

namespace design {
struct DesignerState;
}

namespace design {

// Starts the pointer device's polling and readies the step that makes a drag follow the pointer.
void setUpPointerDevice(design::DesignerState &designer);

// The pointer device's button notification: key 256 left, 257 right, 258 middle; state 2 pressed,
// 1 released. A left press over a draggable widget starts a drag; a left release anywhere ends it.
void onButtonChanged(design::DesignerState &designer, int key, int state);

// The widget under the pointer at the sample, as the native handle that the drag compares with the
// shown handles: the deepest one, or among the visible siblings below it that also contain the
// pointer the one with the strictly smallest area, so that a small widget under a larger one can still
// be taken. 0 if none. Everything is reckoned in the sampled window's own coordinates.
quintptr windowUnderPointer(const widgets::native::PointerSample &sample);

// The widget's outer rectangle in its parent's client area, from its corner whatever origin the parent
// places it from. The handle must be a live widget's, such as one that windowUnderPointer has just
// answered.
QRect widgetRect(quintptr handle);
// The sample's position relative to the widget's outer top-left corner; the same caution applies.
QPoint pointerOffset(quintptr handle, const widgets::native::PointerSample &sample);

// The pointer device's position notification: over a draggable widget the pointer shows what a
// press there would do, a double arrow on the edges and corners that a drag would size.
void onPointerMoved(design::DesignerState &designer);

// One step of a drag in progress: the widget follows the pointer's travel since the press and the grid
// shows its new geometry. Ends the drag when it is no longer active or its widget is gone.
void followPointer(design::DesignerState &designer);

// Ends any drag at once, as a left release would, without a last step.
void endDrag(design::DesignerState &designer);

} // namespace design
