#include "design/pointertracking.h"

#include "design/designerstate.h"
#include "design/dragstate.h"
#include "design/mainwindowids.h"
#include "model/propertydisplay.h"
#include "widgets/events.h"
#include "widgets/nativewindows.h"

#include <QTimer>

#include <utility>

namespace design {

namespace {

namespace native = widgets::native;

qint64 area(const QRect &rect)
{
    return qint64(rect.width()) * rect.height();
}

QTimer *stepTimer(design::DesignerState &designer)
{
    DragState &drag = designer.drag;
    if (!drag.stepTimer) {
        // Owned by the layer, so it goes with the windows whose widgets it moves.
        drag.stepTimer = new QTimer(&designer.layer);
        drag.stepTimer->setInterval(DragStepInterval);
        drag.stepTimer->setTimerType(Qt::PreciseTimer);
        design::DesignerState *d = &designer;
        QObject::connect(drag.stepTimer, &QTimer::timeout, &designer.layer, [d] { followPointer(*d); });
    }
    return drag.stepTimer;
}

void startDrag(design::DesignerState &designer, quintptr handle)
{
    DragState &drag = designer.drag;
    drag.pressGeometry = widgetRect(handle);
    drag.pressPointer = native::pointerPosition();
    drag.mode = hitTest(pointerOffset(handle), drag.pressGeometry.size());
    drag.target = handle;
    drag.lastApplied = drag.pressGeometry;
    drag.passes = 0;
    drag.active = true;
    stepTimer(designer)->start();
    followPointer(designer);
}

} // namespace

// Runs on a timer and not inside the press notification, so no event loop is nested in a handler.
void followPointer(design::DesignerState &designer)
{
    DragState &drag = designer.drag;
    if (!drag.active) {
        endDrag(designer);
        return;
    }
    // A widget that is gone cannot be dragged; nothing may touch its handle any more.
    const widgets::ControlRef target = designer.layer.controlOfHandle(drag.target);
    if (target.isNull()) {
        endDrag(designer);
        return;
    }
    if (++drag.passes > DragStepLimit) {
        endDrag(designer);
        return;
    }
    const QPoint delta = native::pointerPosition() - drag.pressPointer;
    const std::optional<QRect> step = dragStepGeometry(drag.mode, drag.pressGeometry, drag.lastApplied, delta);
    if (!step)
        return;
    drag.lastApplied = *step;
    designer.layer.moveControl(target, step->left(), step->top(), step->width(), step->height());
    model::showProperties(designer);
}

void setUpPointerDevice(design::DesignerState &designer)
{
    stepTimer(designer);
    designer.layer.setInputDeviceRunning(design::mainwindow::InputDevice, true);
}

void onButtonChanged(design::DesignerState &designer, int key, int state)
{
    if (key != widgets::PointerKey::Left)
        return;
    DragState &drag = designer.drag;
    if (state == widgets::ButtonState::Pressed) {
        // The press that placed a widget has done its work; it reports here once, after the placement.
        const quintptr placed = std::exchange(drag.placedByPress, 0);
        if (drag.active)
            return;
        const quintptr handle = windowUnderPointer();
        if (handle != 0 && handle != placed && designer.model.shownHandles.contains(handle))
            startDrag(designer, handle);
    } else if (state == widgets::ButtonState::Released) {
        drag.placedByPress = 0;
        endDrag(designer);
    }
}

namespace {

native::PointerShape shapeFor(DragMode mode)
{
    switch (mode) {
    case DragMode::Left:
    case DragMode::Right: return native::PointerShape::SizeHorizontal;
    case DragMode::Top:
    case DragMode::Bottom: return native::PointerShape::SizeVertical;
    case DragMode::TopLeft:
    case DragMode::BottomRight: return native::PointerShape::SizeFallingDiagonal;
    case DragMode::TopRight:
    case DragMode::BottomLeft: return native::PointerShape::SizeRisingDiagonal;
    case DragMode::Move: break;
    }
    return native::PointerShape::Arrow;
}

} // namespace

void onPointerMoved(design::DesignerState &designer)
{
    // While a drag is on, the widget keeps the shape it had at the press.
    if (designer.drag.active)
        return;
    const quintptr handle = windowUnderPointer();
    if (handle == 0 || !designer.model.shownHandles.contains(handle))
        return;
    native::setPointerShape(handle, shapeFor(hitTest(pointerOffset(handle), widgetRect(handle).size())));
}

void endDrag(design::DesignerState &designer)
{
    DragState &drag = designer.drag;
    drag.active = false;
    drag.mode = DragMode::Move;
    drag.target = 0;
    if (drag.stepTimer)
        drag.stepTimer->stop();
}

quintptr windowUnderPointer()
{
    const QPoint pointer = native::pointerPosition();
    const native::Handle found = native::windowFromPoint(pointer);
    if (found == 0)
        return 0;
    const native::Handle parent = native::parentOf(found);
    if (parent == 0)
        return found;

    // Of the visible siblings below it that also hold the point, the smallest wins, so that a small
    // widget under a larger one can still be taken.
    native::Handle best = found;
    qint64 bestArea = area(native::windowRect(found));
    for (native::Handle sibling : native::windowsBelow(found)) {
        const QRect rect = native::windowRect(sibling);
        if (!native::isWindowVisible(sibling) || !rect.contains(pointer))
            continue;
        if (area(rect) < bestArea) {
            best = sibling;
            bestArea = area(rect);
        }
    }
    return best;
}

QRect widgetRect(quintptr handle)
{
    const QRect screen = native::windowRect(handle);
    const native::Handle parent = native::parentOf(handle);
    if (parent == 0)
        return screen;
    const QPoint topLeft = native::screenToClient(parent, screen.topLeft());
    const QPoint bottomRight = native::screenToClient(parent, screen.topLeft() + QPoint(screen.width(), screen.height()));
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

QPoint pointerOffset(quintptr handle)
{
    return native::pointerPosition() - native::windowRect(handle).topLeft();
}

} // namespace design
