#include "widgets/inputdevice/inputdevicemonitor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace widgets {

namespace {

constexpr Qt::MouseButton WatchedButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

int keyOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return InputDeviceMonitor::RightButton;
    case Qt::MiddleButton: return InputDeviceMonitor::MiddleButton;
    default: return InputDeviceMonitor::LeftButton;
    }
}

} // namespace

InputDeviceMonitor::InputDeviceMonitor(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    // Single shot, started again at the top of every poll: Qt never fires a timer again while a
    // handler of its previous timeout is still running, and a handler of ours may wait inside a
    // notification (the designer's drag loop waits for the release inside the press).
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &InputDeviceMonitor::poll);
}

InputDeviceMonitor::~InputDeviceMonitor()
{
    stop();
}

void InputDeviceMonitor::start(int interval)
{
    if (m_running)
        return;
    m_running = true;
    m_reported = QGuiApplication::mouseButtons();
    m_latched = m_reported;
    m_position = QCursor::pos();
    m_seenSample = native::latestPointerSample().serial;
    m_events.clear();
    m_pending.clear();
    m_interval = interval;
    m_timer->setInterval(interval);
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
    // A button held at the start is watched until it goes up.
    if (m_reported != Qt::NoButton)
        wake();
}

void InputDeviceMonitor::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
    m_events.clear();
    m_pending.clear();
}

bool InputDeviceMonitor::isRunning() const
{
    return m_running;
}

bool InputDeviceMonitor::isPolling() const
{
    return m_timer->isActive();
}

void InputDeviceMonitor::setWatchedArea(QWidget *area)
{
    m_area = area;
    m_areaSet = area != nullptr;
}

void InputDeviceMonitor::wake()
{
    if (m_running && !m_timer->isActive())
        m_timer->start(m_interval);
}

void InputDeviceMonitor::poll()
{
    if (!m_running)
        return;
    // Started again before anything is delivered: a handler may wait inside a notification, and the
    // release it waits for comes in a poll of that wait.
    m_timer->start(m_interval);

    // The latched presses and releases first, in the order they happened ...
    const auto events = std::exchange(m_events, {});
    for (const LatchedChange &change : events)
        reportButton(change.button, change.down, change.sample);
    // ... then what the global state says and the events did not, such as a release that no
    // window of ours received.
    const Qt::MouseButtons now = QGuiApplication::mouseButtons();
    for (Qt::MouseButton button : WatchedButtons)
        reportButton(button, now.testFlag(button), native::latestPointerSample());
    m_latched = m_reported;

    // A move the windows saw counts too: the pointer may have got where it is before the poll and
    // its event only after, and what handles the move asks the event where it was.
    const QPoint position = QCursor::pos();
    const quint64 seen = native::latestPointerSample().serial;
    if (position != m_position || seen != m_seenSample) {
        m_pending.append(Notification{0, 0, position, position - m_position});
        m_position = position;
        m_seenSample = seen;
    }
    deliverPending();
    // With every button up nothing can change until the next event wakes the polling again.
    if (m_running && m_reported == Qt::NoButton && m_events.isEmpty() && m_pending.isEmpty())
        m_timer->stop();
}

void InputDeviceMonitor::reportButton(Qt::MouseButton button, bool down, const native::PointerSample &sample)
{
    if (m_reported.testFlag(button) == down)
        return;
    m_reported.setFlag(button, down);
    m_pending.append(Notification{keyOf(button), down ? Pressed : Released, {}, {}, sample});
}

// Delivery goes through a queue because a handler may run an event loop in which the next polls
// happen: they append behind what is still undelivered and deliver it all, so every change is
// reported once and in order, however deeply polls nest.
void InputDeviceMonitor::deliverPending()
{
    while (!m_pending.isEmpty()) {
        const Notification next = m_pending.takeFirst();
        if (next.key != 0) {
            m_changeSample = next.sample;
            emit buttonChanged(next.key, next.state);
        }
        else
            emit moved(next.position.x(), next.position.y(), 0, next.delta.x(), next.delta.y(), 0);
    }
}

bool InputDeviceMonitor::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        latch(static_cast<QMouseEvent *>(event)->button(), true, native::sampleOf(watched, event));
        break;
    case QEvent::MouseButtonRelease:
        latch(static_cast<QMouseEvent *>(event)->button(), false, native::sampleOf(watched, event));
        break;
    case QEvent::MouseMove:
        if (isOverWatchedArea(watched))
            wake();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool InputDeviceMonitor::isOverWatchedArea(QObject *watched) const
{
    if (!m_areaSet)
        return true;
    // A move reaches the filter at the window and then at the widget under the pointer; the widget
    // tells where the pointer is.
    const auto *widget = qobject_cast<const QWidget *>(watched);
    return widget && m_area && (widget == m_area || m_area->isAncestorOf(widget));
}

void InputDeviceMonitor::latch(Qt::MouseButton button, bool down, const native::PointerSample &sample)
{
    if (!std::ranges::any_of(WatchedButtons, [button](Qt::MouseButton watched) { return watched == button; }))
        return;
    wake();
    // One press reaches the filter several times: at the window, at the widget, at each parent it
    // propagates to. Only a change of the latched state counts; its sample is taken at the first
    // widget to get it, the one under the pointer (the window, which comes first, is no widget).
    if (m_latched.testFlag(button) == down) {
        if (!m_events.isEmpty() && m_events.last().button == button && m_events.last().down == down
            && m_events.last().sample.serial == 0)
            m_events.last().sample = sample;
        return;
    }
    m_latched.setFlag(button, down);
    m_events.append({button, down, sample});
}

} // namespace widgets
