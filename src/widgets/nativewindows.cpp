#include "widgets/nativewindows.h"

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QSinglePointEvent>
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

quint64 &lastSerial()
{
    static quint64 serial = 0;
    return serial;
}

// Keeps the sample of every mouse event that reaches a widget.
class PointerWatch : public QObject
{
public:
    PointerSample latest;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const PointerSample sample = sampleOf(watched, event);
        if (sample.serial != 0)
            latest = sample;
        return false;
    }
};

QPointer<PointerWatch> &pointerWatchSlot()
{
    static QPointer<PointerWatch> watch;
    return watch;
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

void watchPointer()
{
    QPointer<PointerWatch> &watch = pointerWatchSlot();
    if (watch || !qApp)
        return;
    // Goes with the application.
    watch = new PointerWatch;
    watch->setParent(qApp);
    qApp->installEventFilter(watch);
}

PointerSample latestPointerSample()
{
    const PointerWatch *watch = pointerWatchSlot();
    return watch ? watch->latest : PointerSample{};
}

PointerSample sampleOf(const QObject *receiver, const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Enter:
        break;
    default:
        return {};
    }
    // Taken where a widget gets the event, in its own coordinates, and carried into its window's.
    const auto *widget = qobject_cast<const QWidget *>(receiver);
    if (!widget)
        return {};
    const auto *pointer = static_cast<const QSinglePointEvent *>(event);
    const QWidget *top = widget->window();
    return PointerSample{handleOf(top), handleOf(widget), widget->mapTo(top, pointer->position().toPoint()),
                         pointer->globalPosition().toPoint(), ++lastSerial()};
}

Handle windowAt(const PointerSample &sample)
{
    // Qt found it when the event came, in the window's own coordinates; what has been placed or
    // moved there since does not count.
    return widgetOf(sample.widget) ? sample.widget : 0;
}

Handle windowUnder(const PointerSample &sample)
{
    QWidget *top = widgetOf(sample.window);
    if (!top || !top->isVisible() || !top->rect().contains(sample.inWindow))
        return 0;
    QWidget *child = top->childAt(sample.inWindow);
    return handleOf(child ? child : top);
}

bool isWithin(Handle window, Handle ancestor)
{
    const QWidget *widget = widgetOf(window);
    const QWidget *outer = widgetOf(ancestor);
    return widget && outer && (widget == outer || outer->isAncestorOf(widget));
}

std::optional<QPoint> positionIn(Handle window, const PointerSample &sample)
{
    const QWidget *widget = widgetOf(window);
    const QWidget *top = widgetOf(sample.window);
    if (!widget || !top || widget->window() != top)
        return std::nullopt;
    return widget->mapFrom(top, sample.inWindow);
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

QRect windowGeometry(Handle window)
{
    const QWidget *widget = widgetOf(window);
    if (!widget)
        return {};
    return widget->isWindow() ? widget->frameGeometry() : widget->geometry();
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
