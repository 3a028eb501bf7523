#include "widgets/widgetlayer.h"

#include "widgets/controls/containercontrols.h"
#include "widgets/controls/windowcontrol.h"
#include "widgets/nativewindows.h"
#include "widgets/textconversion.h"

#include <algorithm>

namespace widgets {

namespace {

QRect clampedRect(QRect rect, std::optional<int> left, std::optional<int> top, std::optional<int> width,
                  std::optional<int> height)
{
    if (left)
        rect.moveLeft(*left);
    if (top)
        rect.moveTop(*top);
    if (width && *width != -1)
        rect.setWidth(*width);
    if (height && *height != -1)
        rect.setHeight(*height);
    return rect;
}

} // namespace

WidgetLayer::WidgetLayer() = default;

WidgetLayer::~WidgetLayer()
{
    m_ended = true;
    // Controls go before their windows, clones before the controls they were copied from.
    for (auto &[id, window] : m_windows) {
        for (auto it = window.order.rbegin(); it != window.order.rend(); ++it)
            window.controls.erase(*it);
        window.window.reset();
    }
}

void WidgetLayer::registerWindow(WindowLayout layout)
{
    const int id = layout.window.id;
    m_tables[id] = std::move(layout);
}

WidgetLayer::LoadedWindow *WidgetLayer::loaded(int window) const
{
    const auto it = m_windows.find(window);
    return it == m_windows.end() ? nullptr : const_cast<LoadedWindow *>(&it->second);
}

bool WidgetLayer::isLoaded(int window) const
{
    return loaded(window) != nullptr;
}

bool WidgetLayer::loadWindow(int windowId)
{
    const auto table = m_tables.find(windowId);
    if (table == m_tables.end() || isLoaded(windowId))
        return false;
    // The pointer tracking asks where presses landed in the windows; it must have seen them all.
    native::watchPointer();

    // Nothing is delivered while the window and its controls are made.
    ++m_loading;
    LoadedWindow &window = m_windows[windowId];
    window.layout = table->second;
    window.window = std::make_unique<WindowControl>(window.layout.window);
    window.window->setEventSink([this, windowId](Event event, const EventArgs &args) {
        return raiseEvent(windowId, WindowItself, event, args);
    });
    watch(window.window->clientWidget(), windowId, WindowItself);
    if (hasBinding(windowId, WindowItself, Event::PointerMoved))
        window.window->clientWidget()->setMouseTracking(true);
    for (const ControlEntry &entry : window.layout.controls) {
        makeControl(window, entry.id, entry);
        window.order.push_back(entry.id);
        window.nextId = qMax(window.nextId, entry.id + 1);
    }
    --m_loading;

    window.window->startReporting();
    for (Event event : {Event::Created, Event::PositionChanged, Event::SizeChanged}) {
        if (!isLoaded(windowId))
            return true;
        raiseEvent(windowId, WindowItself, event);
    }
    if (!isLoaded(windowId))
        return true;
    WindowControl *windowControl = loaded(windowId)->window.get();
    // Qt holds back geometry notices of a hidden window until it is shown; what the handlers did
    // while loading has been answered already.
    windowControl->startReporting();
    if (loaded(windowId)->layout.window.visible)
        windowControl->widget()->show();
    return true;
}

QWidget *WidgetLayer::parentWidgetFor(LoadedWindow &window, const ControlEntry &entry) const
{
    if (entry.parent == 0)
        return window.window->clientWidget();
    const auto it = window.controls.find(entry.parent);
    if (it != window.controls.end()) {
        if (auto *pages = dynamic_cast<PageContainerControl *>(it->second.control.get())) {
            if (QWidget *page = pages->page(entry.page))
                return page;
        }
        return it->second.control->clientWidget();
    }
    return window.window->clientWidget();
}

Control *WidgetLayer::makeControl(LoadedWindow &window, int id, const ControlEntry &entry)
{
    QWidget *parent = parentWidgetFor(window, entry);
    std::unique_ptr<Control> made = createControl(entry.type, parent);
    if (!made)
        return nullptr;
    Control *control = made.get();
    if (parent == window.window->clientWidget())
        control->setPlacingOrigin(window.window->childOrigin());
    const int windowId = window.layout.window.id;
    control->setScreenPixels(entry.screenPixels || window.layout.window.screenPixels);
    ControlRecord &record = window.controls[id];
    record.entry = entry;
    record.control = std::move(made);

    QWidget *widget = control->widget();
    widget->setObjectName(entry.layoutName);
    // A press belongs to the control it lands on; the window under it must not see it as its own.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    if (!entry.accessibleName.isEmpty())
        widget->setAccessibleName(entry.accessibleName);
    if (!entry.tabStop && (widget->focusPolicy() & Qt::TabFocus))
        widget->setFocusPolicy(Qt::FocusPolicy(widget->focusPolicy() & ~Qt::TabFocus));
    control->setTag(entry.tag);
    if (entry.font)
        widget->setFont(toQFont(*entry.font));
    control->applyLook(entry.look);
    control->setGeometry(entry.rect);
    for (const PropertySetting &setting : entry.properties) {
        if (!control->write(setting.index, setting.member, setting.value))
            writeCommon(*control, setting.index, setting.value);
    }
    control->setEventSink([this, windowId, id](Event event, const EventArgs &args) {
        return raiseEvent(windowId, id, event, args);
    });
    watch(control->clientWidget(), windowId, id);
    m_handles.insert(reinterpret_cast<quintptr>(widget), ControlKey{windowId, id});
    widget->setEnabled(!entry.disabled);
    widget->setVisible(entry.visible);
    return control;
}

void WidgetLayer::watch(QWidget *widget, int window, int control)
{
    m_watched.insert(widget, ControlKey{window, control});
    widget->installEventFilter(this);
    connect(widget, &QObject::destroyed, this, [this](QObject *gone) { m_watched.remove(gone); });
}

bool WidgetLayer::exists(const ControlRef &ref) const
{
    return find(ref) != nullptr;
}

const WidgetLayer::ControlRecord *WidgetLayer::record(const ControlRef &ref) const
{
    LoadedWindow *window = loaded(ref.window);
    if (!window)
        return nullptr;
    const auto it = window->controls.find(ref.control);
    return it == window->controls.end() ? nullptr : &it->second;
}

Control *WidgetLayer::find(const ControlRef &ref) const
{
    LoadedWindow *window = loaded(ref.window);
    if (!window)
        return nullptr;
    if (ref.control == WindowItself)
        return window->window.get();
    const ControlRecord *found = record(ref);
    return found ? found->control.get() : nullptr;
}

Control *WidgetLayer::control(const ControlRef &ref) const
{
    return find(ref);
}

QWidget *WidgetLayer::widget(const ControlRef &ref) const
{
    Control *found = find(ref);
    return found ? found->widget() : nullptr;
}

QVariant WidgetLayer::readProperty(const ControlRef &ref, Prop index, int member) const
{
    return reader(ref).read(index, member);
}

ControlReader WidgetLayer::reader(const ControlRef &ref) const
{
    return ControlReader(find(ref));
}

QRect ControlReader::geometry() const
{
    return m_control ? m_control->geometry() : QRect(0, 0, 0, 0);
}

QVariant ControlReader::read(Prop index, int member) const
{
    if (!m_control)
        return {};
    if (int(index) <= int(Prop::Disabled))
        return readCommon(index);
    return m_control->read(index, member);
}

QVariant ControlReader::readCommon(Prop index) const
{
    QWidget *widget = m_control->widget();
    const QRect rect = geometry();
    switch (index) {
    case Prop::Left: return rect.left();
    case Prop::Top: return rect.top();
    case Prop::Width: return rect.width();
    case Prop::Height: return rect.height();
    case Prop::Tag: return m_control->tag();
    case Prop::Visible:
        if (widget->isWindow())
            return !widget->isHidden();
        return widget->window()->isVisible() ? widget->isVisible() : widget->isVisibleTo(widget->window());
    case Prop::Disabled: return widget->testAttribute(Qt::WA_Disabled);
    default: return {};
    }
}

void WidgetLayer::writeProperty(const ControlRef &ref, Prop index, const QVariant &value, int member)
{
    Control *found = find(ref);
    if (!found)
        return;
    if (int(index) <= int(Prop::Disabled))
        writeCommon(*found, index, value);
    else
        found->write(index, member, value);
}

void WidgetLayer::writeCommon(Control &control, Prop index, const QVariant &value)
{
    QWidget *widget = control.widget();
    QRect rect = control.geometry();
    const int number = value.toInt();
    switch (index) {
    case Prop::Left: rect.moveLeft(qBound(-PositionLimit, number, PositionLimit)); break;
    case Prop::Top: rect.moveTop(qBound(-PositionLimit, number, PositionLimit)); break;
    case Prop::Width: rect.setWidth(qBound(0, number, SizeLimit)); break;
    case Prop::Height: rect.setHeight(qBound(0, number, SizeLimit)); break;
    case Prop::Tag: control.setTag(value.toString()); return;
    case Prop::Visible: widget->setVisible(value.toBool()); return;
    case Prop::Disabled: widget->setEnabled(!value.toBool()); return;
    default: return;
    }
    control.setGeometry(rect);
}

int WidgetLayer::readInteger(const ControlRef &ref, Prop index, int member) const
{
    return readProperty(ref, index, member).toInt();
}

QString WidgetLayer::readText(const ControlRef &ref, Prop index, int member) const
{
    return readProperty(ref, index, member).toString();
}

bool WidgetLayer::readBoolean(const ControlRef &ref, Prop index) const
{
    return readProperty(ref, index).toBool();
}

QSize WidgetLayer::clientSize(const ControlRef &ref) const
{
    Control *found = find(ref);
    if (!found)
        return QSize(0, 0);
    const auto *window = dynamic_cast<WindowControl *>(found);
    return fromScreen(window ? window->clientSize() : found->clientWidget()->size(), found->scale());
}

int WidgetLayer::clientWidth(const ControlRef &ref) const
{
    return clientSize(ref).width();
}

int WidgetLayer::clientHeight(const ControlRef &ref) const
{
    return clientSize(ref).height();
}

void WidgetLayer::moveControl(const ControlRef &ref, std::optional<int> left, std::optional<int> top,
                              std::optional<int> width, std::optional<int> height)
{
    Control *found = find(ref);
    if (!found)
        return;
    const QRect wanted = toScreen(clampedRect(found->geometry(), left, top, width, height), found->scale());
    if (wanted != found->screenGeometry())
        found->setScreenGeometry(wanted);
}

void WidgetLayer::setParent(const ControlRef &ref, const ControlRef &newParent)
{
    Control *child = find(ref);
    Control *parent = find(newParent);
    if (!child || !parent)
        return;
    QWidget *widget = child->widget();
    const bool wasShown = !widget->isHidden();
    const QRect rect = widget->geometry();
    // Keep the flags: a self-framed window stays a framed sub-window inside its new parent.
    Qt::WindowFlags flags = widget->windowFlags();
    if (flags & Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::SubWindow;
    widget->setParent(parent->clientWidget(), flags);
    widget->setGeometry(rect);
    const auto *window = dynamic_cast<const WindowControl *>(parent);
    child->setPlacingOrigin(window ? window->childOrigin() : QPoint());
    if (wasShown)
        widget->show();
}

void WidgetLayer::setChildOrigin(const ControlRef &windowRef, QPoint origin)
{
    auto *window = dynamic_cast<WindowControl *>(find(windowRef));
    if (!window)
        return;
    window->setChildOrigin(origin);
    // Every control in the client area keeps its geometry, from the new origin; some may have come
    // from other windows.
    const QWidget *client = window->clientWidget();
    auto replace = [client, origin](Control &control) {
        if (control.widget()->parentWidget() != client)
            return;
        const QRect placed = control.screenGeometry();
        control.setPlacingOrigin(origin);
        control.setScreenGeometry(placed);
    };
    for (auto &[id, loadedWindow] : m_windows) {
        replace(*loadedWindow.window);
        for (auto &[controlId, record] : loadedWindow.controls)
            replace(*record.control);
    }
}

QPoint WidgetLayer::placedPosition(const ControlRef &windowRef, QPoint clientPoint) const
{
    const auto *window = dynamic_cast<const WindowControl *>(find(windowRef));
    if (!window)
        return clientPoint;
    const QPoint placed = placedPoint(clientPoint, window->childOrigin());
    return QPoint(fromScreen(placed.x(), window->scale()), fromScreen(placed.y(), window->scale()));
}

bool WidgetLayer::cloneControl(const ControlRef &source, ControlRef &output)
{
    if (source.type != output.type || source.control == WindowItself)
        return false;
    LoadedWindow *window = loaded(source.window);
    const ControlRecord *original = record(source);
    if (!window || !original || original->control->type() != source.type)
        return false;

    // The copy starts from the stored layout entry, not from what the source shows now.
    ControlEntry copy = original->entry;
    copy.events.clear();
    copy.visible = false;
    const int id = window->nextId++;
    copy.id = id;
    const QWidget *sourceWidget = original->control->widget();
    Control *made = makeControl(*window, id, copy);
    if (!made) {
        window->controls.erase(id);
        return false;
    }
    window->controls[id].copiedFrom = source.control;
    made->widget()->stackUnder(const_cast<QWidget *>(sourceWidget));
    if (hasBinding(source.window, id, Event::PointerMoved))
        made->clientWidget()->setMouseTracking(true);

    // Clones follow their source in the control list, after the clones made before them.
    auto at = std::find(window->order.begin(), window->order.end(), source.control);
    if (at != window->order.end())
        ++at;
    while (at != window->order.end() && window->controls[*at].copiedFrom == source.control)
        ++at;
    window->order.insert(at, id);

    output = ControlRef{source.window, id, source.type};
    return true;
}

QList<int> WidgetLayer::controlList(int windowId) const
{
    QList<int> list;
    if (LoadedWindow *window = loaded(windowId)) {
        list.append(WindowItself);
        for (int id : window->order)
            list.append(id);
    }
    return list;
}

ControlRef WidgetLayer::findControlByTag(int windowId, int n)
{
    if (LoadedWindow *window = loaded(windowId)) {
        for (int id : controlList(windowId)) {
            const Control *found = id == WindowItself ? window->window.get() : window->controls[id].control.get();
            if (textToInteger(found->tag()) == n)
                return ControlRef{windowId, id, found->type()};
        }
    }
    fatalFault(10, QStringLiteral("未找到指定标记的组件"), QStringLiteral("findControlByTag"));
}

ControlRef WidgetLayer::eventSource()
{
    if (m_eventSources.isEmpty())
        fatalFault(11, QStringLiteral("没有正在处理的事件"), QStringLiteral("eventSource"));
    return m_eventSources.constLast();
}

quintptr WidgetLayer::nativeHandle(const ControlRef &ref) const
{
    return reinterpret_cast<quintptr>(widget(ref));
}

quintptr WidgetLayer::clientHandle(const ControlRef &ref) const
{
    Control *found = find(ref);
    return found ? reinterpret_cast<quintptr>(found->clientWidget()) : 0;
}

ControlRef WidgetLayer::controlOfHandle(quintptr handle) const
{
    // Every drag step asks this; the index answers at once, and an entry is trusted only while the
    // control it names still has that handle. Windows, and anything the index misses, are looked for.
    const auto indexed = m_handles.constFind(handle);
    if (indexed != m_handles.constEnd()) {
        if (const LoadedWindow *window = loaded(indexed->window)) {
            const auto found = window->controls.find(indexed->control);
            if (found != window->controls.end() && reinterpret_cast<quintptr>(found->second.control->widget()) == handle)
                return ControlRef{indexed->window, indexed->control, found->second.control->type()};
        }
    }
    for (const auto &[windowId, window] : m_windows) {
        if (reinterpret_cast<quintptr>(window.window->widget()) == handle)
            return windowRef(windowId);
        for (const auto &[id, record] : window.controls) {
            if (reinterpret_cast<quintptr>(record.control->widget()) == handle)
                return ControlRef{windowId, id, record.control->type()};
        }
    }
    return {};
}

} // namespace widgets
