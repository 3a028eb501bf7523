#include "design/pointertracking.h"

#include "design/dragstate.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/controls/inputdevicemonitor.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace design {

namespace {

using widgets::InputDeviceMonitor;

QWidget *widgetOf(quintptr handle)
{
    return reinterpret_cast<QWidget *>(handle);
}

qint64 area(const QRect &rect)
{
    return qint64(rect.width()) * rect.height();
}

// One step of the drag: the widget follows the pointer's travel since the press. Runs on a timer and
// not inside the press notification, so no event loop is nested in a handler.
void followPointer(shell::Designer &designer)
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
    const QPoint delta = QCursor::pos() - drag.pressPointer;
    const std::optional<QRect> step = dragStepGeometry(drag.mode, drag.pressGeometry, drag.lastApplied, delta);
    if (!step)
        return;
    drag.lastApplied = *step;
    designer.layer.moveControl(target, step->left(), step->top(), step->width(), step->height());
    model::showProperties(designer);
}

QTimer *stepTimer(shell::Designer &designer)
{
    DragState &drag = designer.drag;
    if (!drag.stepTimer) {
        // Owned by the layer, so it goes with the windows whose widgets it moves.
        drag.stepTimer = new QTimer(&designer.layer);
        drag.stepTimer->setInterval(DragStepInterval);
        drag.stepTimer->setTimerType(Qt::PreciseTimer);
        shell::Designer *d = &designer;
        QObject::connect(drag.stepTimer, &QTimer::timeout, &designer.layer, [d] { followPointer(*d); });
    }
    return drag.stepTimer;
}

void startDrag(shell::Designer &designer, quintptr handle)
{
    DragState &drag = designer.drag;
    drag.pressGeometry = widgetRect(handle);
    drag.pressPointer = QCursor::pos();
    drag.mode = hitTest(pointerOffset(handle), drag.pressGeometry.size());
    drag.target = handle;
    drag.lastApplied = drag.pressGeometry;
    drag.passes = 0;
    drag.active = true;
    stepTimer(designer)->start();
    followPointer(designer);
}

} // namespace

void setUpPointerDevice(shell::Designer &designer)
{
    stepTimer(designer);
    designer.layer.setInputDeviceRunning(shell::ids::InputDevice, true);
}

void onButtonChanged(shell::Designer &designer, int key, int state)
{
    if (key != InputDeviceMonitor::LeftButton)
        return;
    DragState &drag = designer.drag;
    if (state == InputDeviceMonitor::Pressed) {
        // The press that placed a widget has done its work; it reports here once, after the placement.
        const quintptr placed = std::exchange(drag.placedByPress, 0);
        if (drag.active)
            return;
        const quintptr handle = windowUnderPointer();
        if (handle != 0 && handle != placed && designer.model.shownHandles.contains(handle))
            startDrag(designer, handle);
    } else if (state == InputDeviceMonitor::Released) {
        drag.placedByPress = 0;
        endDrag(designer);
    }
}

void endDrag(shell::Designer &designer)
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
    const QPoint pointer = QCursor::pos();
    QWidget *found = QApplication::widgetAt(pointer);
    if (!found)
        return 0;
    QWidget *parent = found->parentWidget();
    if (found->isWindow() || !parent)
        return reinterpret_cast<quintptr>(found);

    // Siblings lower in the stacking order come earlier among the parent's children.
    const QPoint inParent = parent->mapFromGlobal(pointer);
    const QObjectList &siblings = parent->children();
    QWidget *best = found;
    qint64 bestArea = area(found->geometry());
    for (qsizetype i = siblings.indexOf(found) - 1; i >= 0; --i) {
        auto *sibling = qobject_cast<QWidget *>(siblings.at(i));
        if (!sibling || sibling->isWindow() || !sibling->isVisible() || !sibling->geometry().contains(inParent))
            continue;
        const qint64 siblingArea = area(sibling->geometry());
        if (siblingArea < bestArea) {
            best = sibling;
            bestArea = siblingArea;
        }
    }
    return reinterpret_cast<quintptr>(best);
}

QRect widgetRect(quintptr handle)
{
    const QWidget *widget = widgetOf(handle);
    return widget->isWindow() ? widget->frameGeometry() : widget->geometry();
}

QPoint pointerOffset(quintptr handle)
{
    return QCursor::pos() - widgetOf(handle)->mapToGlobal(QPoint(0, 0));
}

} // namespace design
