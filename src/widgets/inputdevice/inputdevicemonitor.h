#pragma once

#include "widgets/events.h"
#include "widgets/nativewindows.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class QTimer;

namespace widgets {

// Watches the global mouse while started: it polls every 10 ms, compares the buttons and the pointer
// position with the previous poll and reports each change. Presses and releases that come and go
// between two polls are not lost: an application-wide event filter latches them for the next poll.
// It polls only while there is something to see, so that an idle program sleeps: from a press until
// every button is up again, and while the pointer moves over the watched area (the whole of the
// program's windows until one is set). Moves elsewhere, with no button held, go unreported.
class InputDeviceMonitor : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollInterval = 10;   // milliseconds

    enum Key { LeftButton = PointerKey::Left, RightButton = PointerKey::Right, MiddleButton = PointerKey::Middle };
    enum ButtonState {
        Released = widgets::ButtonState::Released,   // the button went up
        Pressed = widgets::ButtonState::Pressed,   // the button went down; reported once, not again while it is held
    };

    explicit InputDeviceMonitor(QObject *parent = nullptr);
    ~InputDeviceMonitor() override;

    // Starting takes the present buttons and position as the baseline: nothing is reported for
    // them. Starting a running monitor does nothing. A longer interval than the default is for
    // tests that want to make every poll themselves.
    void start(int interval = PollInterval);
    void stop();
    bool isRunning() const;

    // One poll, as the timer makes it; nothing while stopped. Safe to enter again from a handler
    // of its own notifications.
    void poll();

    // Where the pointer was when the change being reported happened: the press or release event's
    // own sample, or the latest one where the change was seen in the buttons' state alone. Valid in a
    // handler of the notification; afterwards it tells of the last change reported.
    native::PointerSample changeSample() const { return m_changeSample; }

    // Moves over this widget or its children wake the polling; none means moves anywhere do.
    void setWatchedArea(QWidget *area);
    // Whether a poll is due: the timer is running.
    bool isPolling() const;

signals:
    void buttonChanged(int key, int state);
    // Screen position and its change since the previous poll; z and dz are always 0 (no wheel).
    void moved(int x, int y, int z, int dx, int dy, int dz);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A button change (key set) or a move (key 0), waiting to be delivered.
    struct Notification
    {
        int key = 0;
        int state = 0;
        QPoint position;
        QPoint delta;
        native::PointerSample sample;
    };
    struct LatchedChange
    {
        Qt::MouseButton button;
        bool down;
        native::PointerSample sample;
    };

    void latch(Qt::MouseButton button, bool down, const native::PointerSample &sample);
    void wake();
    bool isOverWatchedArea(QObject *watched) const;
    void reportButton(Qt::MouseButton button, bool down, const native::PointerSample &sample);
    void deliverPending();

    QTimer *m_timer;
    int m_interval = PollInterval;
    QPointer<QWidget> m_area;
    bool m_areaSet = false;
    bool m_running = false;
    Qt::MouseButtons m_reported;   // the buttons as last reported (or at start)
    Qt::MouseButtons m_latched;    // the buttons as the latched events left them
    QList<LatchedChange> m_events;   // latched since the previous poll, in order
    native::PointerSample m_changeSample;
    QPoint m_position;
    quint64 m_seenSample = 0;   // the serial of the latest pointer sample at the previous poll
    QList<Notification> m_pending;
};

} // namespace widgets
