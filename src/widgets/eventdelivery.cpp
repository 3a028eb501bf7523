#include "widgets/widgetlayer.h"

#include <QMouseEvent>
#include <QtMath>

// Events by number: the handler bound for a control, or for the control a clone was copied from.
namespace widgets {

namespace {

int keyState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ControlModifier ? KeyCtrl : 0) | (modifiers & Qt::ShiftModifier ? KeyShift : 0)
           | (modifiers & Qt::AltModifier ? KeyAlt : 0);
}

} // namespace

bool WidgetLayer::hasBinding(int windowId, int controlId, Event event) const
{
    LoadedWindow *window = loaded(windowId);
    if (!window)
        return false;
    if (controlId == WindowItself) {
        for (const EventBinding &binding : window->layout.window.events) {
            if (binding.event == event)
                return true;
        }
        return false;
    }
    // A control without a binding of its own answers through the control it was copied from,
    // as long as that one exists and has the same type.
    int id = controlId;
    ControlType type = window->controls.count(id) ? window->controls[id].control->type() : ControlType::Window;
    while (window->controls.count(id)) {
        const ControlRecord &found = window->controls[id];
        if (found.control->type() != type)
            return false;
        for (const EventBinding &binding : found.entry.events) {
            if (binding.event == event)
                return true;
        }
        if (found.copiedFrom == 0)
            return false;
        id = found.copiedFrom;
    }
    return false;
}

bool WidgetLayer::raiseEvent(int windowId, int controlId, Event event, const EventArgs &args)
{
    if (m_loading > 0 || m_ended)
        return true;
    LoadedWindow *window = loaded(windowId);
    if (!window)
        return true;

    const EventHandler *handler = nullptr;
    ControlType type = ControlType::Window;
    if (controlId == WindowItself) {
        for (const EventBinding &binding : window->layout.window.events) {
            if (binding.event == event)
                handler = &binding.handler;
        }
    } else if (window->controls.count(controlId)) {
        type = window->controls[controlId].control->type();
        for (int id = controlId; !handler && window->controls.count(id);) {
            const ControlRecord &found = window->controls[id];
            if (found.control->type() != type)
                break;
            for (const EventBinding &binding : found.entry.events) {
                if (binding.event == event)
                    handler = &binding.handler;
            }
            if (found.copiedFrom == 0)
                break;
            id = found.copiedFrom;
        }
    }
    if (!handler || !*handler)
        return true;

    // Copy the handler: it may reload or change the table it lives in.
    const EventHandler call = *handler;
    m_eventSources.append(ControlRef{windowId, controlId, type});
    const bool answer = call(args);
    m_eventSources.removeLast();
    return answer;
}

bool WidgetLayer::eventFilter(QObject *watched, QEvent *event)
{
    const auto key = m_watched.constFind(watched);
    if (key == m_watched.cend())
        return false;
    Event number;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto button = static_cast<QMouseEvent *>(event)->button();
        if (button == Qt::LeftButton)
            number = Event::LeftButtonDown;
        else if (button == Qt::RightButton)
            number = Event::RightButtonDown;
        else
            return false;
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto button = static_cast<QMouseEvent *>(event)->button();
        if (button == Qt::LeftButton)
            number = Event::LeftButtonUp;
        else if (button == Qt::RightButton)
            number = Event::RightButtonUp;
        else
            return false;
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        number = Event::LeftDoubleClick;
        break;
    case QEvent::MouseMove:
        number = Event::PointerMoved;
        break;
    default:
        return false;
    }
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const ControlRef source{key->window, key->control, ControlType::Window};
    const Control *control = find(source);
    const qreal scale = control ? control->scale() : 1;
    const QPoint position(qFloor(mouse->position().x()), qFloor(mouse->position().y()));
    // A window tells where in its client area, as its controls are placed; a control, where in itself.
    const QPoint at = key->control == WindowItself
                          ? placedPosition(source, position)
                          : QPoint(fromScreen(position.x(), scale), fromScreen(position.y(), scale));
    const bool proceed = raiseEvent(key->window, key->control, number, EventArgs{{at.x(), at.y(), keyState(mouse->modifiers())}});
    return !proceed;
}

} // namespace widgets
