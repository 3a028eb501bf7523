#include "widgets/nativewindows.h"

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace widgets::native {

namespace {

// Only handles of widgets that still exist are followed. Asking the application for all its widgets
// copies the whole set, which at a thousand placed widgets made every pointer poll walk it once per
// sibling; so a handle once confirmed is remembered through a guarded pointer, which Qt clears when
// the widget goes. A cleared or unknown handle is confirmed again, so a new widget at a freed address
// is still found.
QWidget *widgetOf(Handle handle)
{
    if (handle == 0)
        return nullptr;
    static QHash<Handle, QPointer<QWidget>> confirmed;
    const auto known = confirmed.constFind(handle);
    if (known != confirmed.constEnd() && !known->isNull())
        return known->data();
    auto *widget = reinterpret_cast<QWidget *>(handle);
    if (!QApplication::allWidgets().contains(widget)) {
        confirmed.remove(handle);
        return nullptr;
    }
    confirmed.insert(handle, widget);
    return widget;
}

Handle handleOf(const QWidget *widget)
{
    return reinterpret_cast<Handle>(widget);
}

} // namespace

QPoint pointerPosition()
{
    return QCursor::pos();
}

bool isLeftButtonDown()
{
    return QGuiApplication::mouseButtons() & Qt::LeftButton;
}

Handle windowFromPoint(QPoint screen)
{
    return handleOf(QApplication::widgetAt(screen));
}

Handle parentOf(Handle window)
{
    const QWidget *widget = widgetOf(window);
    return widget && !widget->isWindow() ? handleOf(widget->parentWidget()) : 0;
}

QList<Handle> windowsBelow(Handle window)
{
    QList<Handle> below;
    const QWidget *widget = widgetOf(window);
    if (!widget || widget->isWindow() || !widget->parentWidget())
        return below;
    // Qt stacks a parent's children in the order of its child list, the last one on top.
    const QObjectList &siblings = widget->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget *>(widget)) - 1; i >= 0; --i) {
        const auto *sibling = qobject_cast<const QWidget *>(siblings.at(i));
        if (sibling && !sibling->isWindow())
            below.append(handleOf(sibling));
    }
    return below;
}

bool isWindowVisible(Handle window)
{
    const QWidget *widget = widgetOf(window);
    return widget && widget->isVisible();
}

QRect windowRect(Handle window)
{
    const QWidget *widget = widgetOf(window);
    if (!widget)
        return {};
    if (widget->isWindow())
        return widget->frameGeometry();
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QPoint screenToClient(Handle window, QPoint screen)
{
    const QWidget *widget = widgetOf(window);
    return widget ? widget->mapFromGlobal(screen) : screen;
}

void setPointerShape(Handle window, PointerShape shape)
{
    QWidget *widget = widgetOf(window);
    if (!widget)
        return;
    switch (shape) {
    case PointerShape::Arrow: widget->unsetCursor(); break;
    case PointerShape::SizeHorizontal: widget->setCursor(Qt::SizeHorCursor); break;
    case PointerShape::SizeVertical: widget->setCursor(Qt::SizeVerCursor); break;
    case PointerShape::SizeFallingDiagonal: widget->setCursor(Qt::SizeFDiagCursor); break;
    case PointerShape::SizeRisingDiagonal: widget->setCursor(Qt::SizeBDiagCursor); break;
    }
}

} // namespace widgets::native
