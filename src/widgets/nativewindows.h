#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QtGlobal>

// The platform's view of windows, as the pointer tracking asks it: what is under a screen point,
// who its parent and its siblings are, and where it is. A handle is any value that names a live
// window of this program; a handle that names nothing gives empty answers.
namespace widgets::native {

using Handle = quintptr;

QPoint pointerPosition();
bool isLeftButtonDown();

// The topmost visible window of this program at the screen point, or 0.
Handle windowFromPoint(QPoint screen);
// The window's parent, or 0 for a top-level window.
Handle parentOf(Handle window);
// The siblings that follow the window in the stacking order, from the nearest one down.
QList<Handle> windowsBelow(Handle window);
bool isWindowVisible(Handle window);
// The outer rectangle in screen coordinates.
QRect windowRect(Handle window);
// A screen point in the window's client coordinates.
QPoint screenToClient(Handle window, QPoint screen);

// The pointer's look while it is over the window.
enum class PointerShape { Arrow, SizeHorizontal, SizeVertical, SizeFallingDiagonal, SizeRisingDiagonal };
void setPointerShape(Handle window, PointerShape shape);

} // namespace widgets::native
