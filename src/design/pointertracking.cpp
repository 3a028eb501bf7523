#include "design/pointertracking.h"

#include "design/designerstate.h"
#include "design/designwindowids.h"
#include "design/dragstate.h"
#include "design/mainwindowids.h"
#include "model/propertydisplay.h"
#include "widgets/events.h"
#include "widgets/nativewindows.h"
#include "widgets/textconversion.h"

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

// The drag's widget becomes the selected component, where the press landed on another widget.
void selectTarget(design::DesignerState &designer)
{
    const widgets::ControlRef target = designer.layer.controlOfHandle(designer.drag.target);
    const int number = widgets::textToInteger(designer.layer.readText(target, widgets::Prop::Tag));
    if (designer.model.componentByNumber(number))
        model::selectListEntry(designer, number);
}

void startDrag(design::DesignerState &designer, quintptr handle, const native::PointerSample &press)
{
    DragState &drag = designer.drag;
    // In the terms the steps move it in: the window may place its widgets from an origin of its own.
    drag.pressGeometry = designer.layer.reader(designer.layer.controlOfHandle(handle)).geometry();
    drag.pressPointer = press.screen;
    drag.pressSerial = press.serial;
    drag.mode = hitTest(pointerOffset(handle, press), drag.pressGeometry.size());
    drag.target = handle;
    drag.lastApplied = drag.pressGeometry;
    drag.passes = 0;
    drag.pressedAnother = native::windowAt(press) != handle;
    drag.active = true;
    if (drag.pressedAnother)
        selectTarget(designer);
    stepTimer(designer)->start();
    // The pointer may have travelled since the press; the widget catches up at once.
    followPointer(designer);
}

// The widget follows the pointer at the screen position: its travel since the press.
void followTo(design::DesignerState &designer, QPoint pointer)
{
    DragState &drag = designer.drag;
    // A widget that is gone cannot be dragged; nothing may touch its handle any more.
    const widgets::ControlRef target = designer.layer.controlOfHandle(drag.target);
    if (target.isNull()) {
        endDrag(designer);
        return;
    }
    const std::optional<QRect> step =
        dragStepGeometry(drag.mode, drag.pressGeometry, drag.lastApplied, pointer - drag.pressPointer);
    if (!step)
        return;
    drag.lastApplied = *step;
    designer.layer.moveControl(target, step->left(), step->top(), step->width(), step->height());
    model::showProperties(designer);
}

} // namespace

// Runs on a timer and not inside the press notification, so no event loop is nested in a handler.
void followPointer(design::DesignerState &designer)
{
    DragState &drag = designer.drag;
    if (!drag.active || ++drag.passes > DragStepLimit) {
        endDrag(designer);
        return;
    }
    followTo(designer, native::pointerPosition());
}

void setUpPointerDevice(design::DesignerState &designer)
{
    stepTimer(designer);
    // Only over the design window does the pointer's place matter (it shows what a press would do).
    designer.layer.setInputDeviceArea(design::mainwindow::InputDevice, design::ids::DesignWindow);
    designer.layer.setInputDeviceRunning(design::mainwindow::InputDevice, true);
}

void onButtonChanged(design::DesignerState &designer, int key, int state)
{
    if (key != widgets::PointerKey::Left)
        return;
    DragState &drag = designer.drag;
    if (state == widgets::ButtonState::Pressed) {
        if (drag.active)
            return;
        // Where the press landed, as its own event told: the pointer may have moved on since.
        const native::PointerSample press = designer.layer.inputDeviceSample(design::mainwindow::InputDevice);
        const quintptr handle = windowUnderPointer(press);
        if (handle != 0 && designer.model.shownHandles.contains(handle))
            startDrag(designer, handle, press);
    } else if (state == widgets::ButtonState::Released) {
        if (!drag.active)
            return;
        // The widget ends where the button went up, however quickly the pointer got there.
        const native::PointerSample release = designer.layer.inputDeviceSample(design::mainwindow::InputDevice);
        if (release.serial > drag.pressSerial)
            followTo(designer, release.screen);
        const bool reselect = drag.active && drag.pressedAnother;
        if (reselect)
            selectTarget(designer);
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
    const native::PointerSample pointer = native::latestPointerSample();
    const quintptr handle = windowUnderPointer(pointer);
    if (handle == 0 || !designer.model.shownHandles.contains(handle))
        return;
    native::setPointerShape(handle, shapeFor(hitTest(pointerOffset(handle, pointer), widgetRect(handle).size())));
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

quintptr windowUnderPointer(const native::PointerSample &sample)
{
    const native::Handle found = native::windowAt(sample);
    if (found == 0)
        return 0;
    const native::Handle parent = native::parentOf(found);
    const std::optional<QPoint> point = native::positionIn(parent, sample);
    if (parent == 0 || !point)
        return found;

    // Of the visible siblings below it that also hold the point, the smallest wins, so that a small
    // widget under a larger one can still be taken.
    native::Handle best = found;
    qint64 bestArea = area(native::windowGeometry(found));
    for (native::Handle sibling : native::windowsBelow(found)) {
        const QRect rect = native::windowGeometry(sibling);
        if (!native::isWindowVisible(sibling) || !rect.contains(*point))
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
    return native::windowGeometry(handle);
}

QPoint pointerOffset(quintptr handle, const native::PointerSample &sample)
{
    return native::positionIn(handle, sample).value_or(QPoint());
}

} // namespace design
