#include "widgets/inputdevice/inputdevicecontrol.h"
#include "widgets/inputdevice/inputdevicemonitor.h"

#include <QApplication>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <limits>

using namespace widgets;

namespace {

// Long enough that only the test's own polls run.
constexpr int NoTimer = std::numeric_limits<int>::max();

// Two plain children that ignore presses, so every press also propagates to the window.
struct PointerWindow
{
    QWidget window;
    QWidget first{&window};
    QWidget second{&window};

    PointerWindow()
    {
        window.setGeometry(100, 100, 300, 200);
        first.setGeometry(10, 10, 100, 100);
        second.setGeometry(150, 10, 100, 100);
    }
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

// "256:2 256:1 ..." for what a monitor reported.
struct ButtonLog
{
    QStringList entries;

    void attach(InputDeviceMonitor *monitor)
    {
        QObject::connect(monitor, &InputDeviceMonitor::buttonChanged, monitor,
                         [this](int key, int state) { entries.append(QStringLiteral("%1:%2").arg(key).arg(state)); });
    }
    QString text() const { return entries.join(QLatin1Char(' ')); }
};

Qt::MouseButton buttonNamed(QChar letter)
{
    return letter == QLatin1Char('L') ? Qt::LeftButton : letter == QLatin1Char('R') ? Qt::RightButton : Qt::MiddleButton;
}

} // namespace

class tst_InputDeviceMonitor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buttonChanges_data();
    void buttonChanges();
    void pollsNestedInAHandlerReportEachChangeOnce();
    void releaseArrivesWhileAHandlerWaitsForIt();
    void moves();
    void stoppedMonitorReportsNothing();
    void controlRaisesEventsAndStaysHidden();
    void pollsOnlyWhileThereIsSomethingToSee_data();
    void pollsOnlyWhileThereIsSomethingToSee();
};

void tst_InputDeviceMonitor::init()
{
    QCursor::setPos(0, 0);
}

void tst_InputDeviceMonitor::cleanup()
{
    QVERIFY(QGuiApplication::mouseButtons() == Qt::NoButton);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_InputDeviceMonitor::buttonChanges_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("reported");

    // pX / rX / dX: press, release, double click of L(eft), R(ight) or M(iddle) on the first
    // child, or on the second with a trailing "2"; "poll" a poll; "start" starts the monitor.
    // Every row leaves the buttons up, as cleanup() checks.
    QTest::newRow("press reported once over two polls") << "start pL poll poll rL" << "256:2";
    QTest::newRow("press and release between two polls") << "start pL rL poll" << "256:2 256:1";
    QTest::newRow("release in a later poll") << "start pL poll rL poll poll" << "256:2 256:1";
    QTest::newRow("right button") << "start pR rR poll" << "257:2 257:1";
    QTest::newRow("middle button") << "start pM poll rM poll" << "258:2 258:1";
    QTest::newRow("overlapping buttons in order") << "start pL pR rL rR poll" << "256:2 257:2 256:1 257:1";
    QTest::newRow("double click between two polls") << "start pL rL dL rL poll" << "256:2 256:1 256:2 256:1";
    QTest::newRow("release over another widget") << "start pL poll rL2 poll" << "256:2 256:1";
    QTest::newRow("held at start: only the release") << "pL start poll rL poll" << "256:1";
    QTest::newRow("nothing happened") << "start poll poll" << "";
}

void tst_InputDeviceMonitor::buttonChanges()
{
    QFETCH(QString, steps);
    QFETCH(QString, reported);

    PointerWindow w;
    QVERIFY(w.show());
    InputDeviceMonitor monitor;
    ButtonLog log;
    log.attach(&monitor);

    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("start")) {
            monitor.start(NoTimer);
            continue;
        }
        if (step == QLatin1String("poll")) {
            monitor.poll();
            continue;
        }
        QWidget *target = step.endsWith(QLatin1Char('2')) ? &w.second : &w.first;
        const Qt::MouseButton button = buttonNamed(step.at(1));
        if (step.startsWith(QLatin1Char('p')))
            QTest::mousePress(target, button);
        else if (step.startsWith(QLatin1Char('r')))
            QTest::mouseRelease(target, button);
        else
            QTest::mouseDClick(target, button);
    }
    QCOMPARE(log.text(), reported);
}

void tst_InputDeviceMonitor::pollsNestedInAHandlerReportEachChangeOnce()
{
    PointerWindow w;
    QVERIFY(w.show());
    InputDeviceMonitor monitor;
    QStringList reported;
    connect(&monitor, &InputDeviceMonitor::buttonChanged, &monitor, [&](int key, int state) {
        reported.append(QStringLiteral("%1:%2").arg(key).arg(state));
        // As the designer's drag loop does: poll again from inside the press notification.
        if (state == InputDeviceMonitor::Pressed) {
            monitor.poll();
            reported.append(QStringLiteral("back"));
        }
    });
    monitor.start(NoTimer);
    QTest::mousePress(&w.first, Qt::LeftButton);
    QTest::mouseRelease(&w.first, Qt::LeftButton);
    monitor.poll();
    monitor.poll();
    QCOMPARE(reported.join(QLatin1Char(' ')), QStringLiteral("256:2 256:1 back"));
}

void tst_InputDeviceMonitor::releaseArrivesWhileAHandlerWaitsForIt()
{
    // The drag loop waits inside the press notification while events are processed; the
    // monitor's own timer must keep polling there, or the release would never come.
    PointerWindow w;
    QVERIFY(w.show());
    InputDeviceMonitor monitor;
    QStringList reported;
    bool released = false;
    connect(&monitor, &InputDeviceMonitor::buttonChanged, &monitor, [&](int key, int state) {
        reported.append(QStringLiteral("%1:%2").arg(key).arg(state));
        if (state == InputDeviceMonitor::Released) {
            released = true;
            return;
        }
        QTest::mouseRelease(&w.first, Qt::LeftButton);
        QEventLoop wait;
        QTimer giveUp;
        connect(&giveUp, &QTimer::timeout, &wait, &QEventLoop::quit);
        connect(&monitor, &InputDeviceMonitor::buttonChanged, &wait, &QEventLoop::quit);
        giveUp.start(5000);
        wait.exec();
        reported.append(released ? QStringLiteral("released while waiting") : QStringLiteral("gave up"));
    });
    monitor.start();
    QTest::mousePress(&w.first, Qt::LeftButton);
    QTRY_VERIFY(reported.size() >= 3);
    QCOMPARE(reported.join(QLatin1Char(' ')), QStringLiteral("256:2 256:1 released while waiting"));
}

void tst_InputDeviceMonitor::moves()
{
    InputDeviceMonitor monitor;
    QSignalSpy moved(&monitor, &InputDeviceMonitor::moved);
    QCursor::setPos(100, 200);
    monitor.start(NoTimer);
    monitor.poll();
    QCOMPARE(moved.size(), 0);   // the position at start is the baseline

    QCursor::setPos(130, 190);
    monitor.poll();
    monitor.poll();
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.at(0), (QList<QVariant>{130, 190, 0, 30, -10, 0}));
}

void tst_InputDeviceMonitor::stoppedMonitorReportsNothing()
{
    PointerWindow w;
    QVERIFY(w.show());
    InputDeviceMonitor monitor;
    ButtonLog log;
    log.attach(&monitor);
    QSignalSpy moved(&monitor, &InputDeviceMonitor::moved);

    monitor.start(NoTimer);
    monitor.stop();
    QVERIFY(!monitor.isRunning());
    QTest::mousePress(&w.first, Qt::LeftButton);
    QTest::mouseRelease(&w.first, Qt::LeftButton);
    QCursor::setPos(50, 60);
    monitor.poll();
    // What happened while stopped is not reported after a new start either.
    monitor.start(NoTimer);
    QVERIFY(monitor.isRunning());
    monitor.poll();
    QCOMPARE(log.text(), QString());
    QCOMPARE(moved.size(), 0);
}

void tst_InputDeviceMonitor::controlRaisesEventsAndStaysHidden()
{
    PointerWindow w;
    InputDeviceControl control(&w.window);
    QList<std::pair<Event, QList<int>>> raised;
    control.setEventSink([&raised](Event event, const EventArgs &args) {
        raised.append({event, args.values});
        return true;
    });
    control.widget()->show();
    QVERIFY(w.show());
    QVERIFY(!control.widget()->isVisible());
    QCOMPARE(control.widget()->size(), QSize(0, 0));

    QCursor::setPos(10, 10);
    control.monitor()->start(NoTimer);
    QTest::mousePress(&w.first, Qt::RightButton);
    QTest::mouseRelease(&w.first, Qt::RightButton);
    QCursor::setPos(15, 5);
    control.monitor()->poll();
    const QList<std::pair<Event, QList<int>>> expected = {{Event::ButtonChanged, {257, 2}},
                                                          {Event::ButtonChanged, {257, 1}},
                                                          {Event::DeviceMoved, {15, 5, 0, 5, -5, 0}}};
    QCOMPARE(raised, expected);
}

void tst_InputDeviceMonitor::pollsOnlyWhileThereIsSomethingToSee_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("polling");
    // As buttonChanges, and "m" a move over the first child (the watched area), "m2" over the second;
    // after each step whether a poll is due ("y"/"n"), once the due ones have run ("wait").
    QTest::newRow("at rest nothing is due") << "start wait" << "n";
    QTest::newRow("held, it polls until the release is seen") << "start pL wait rL wait" << "y y y n";
    QTest::newRow("a move over the area wakes it, once") << "start m wait" << "y n";
    QTest::newRow("a move elsewhere does not") << "start m2 wait" << "n n";
    QTest::newRow("a button held elsewhere does") << "start pR2 wait rR2 wait" << "y y y n";
}

// An idle program sleeps: no poll is due while no button is held and the pointer rests or moves
// outside the watched area.
void tst_InputDeviceMonitor::pollsOnlyWhileThereIsSomethingToSee()
{
    QFETCH(QString, steps);
    QFETCH(QString, polling);
    PointerWindow w;
    QVERIFY(w.show());
    InputDeviceMonitor monitor;
    monitor.setWatchedArea(&w.first);
    QStringList seen;
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        QWidget *target = step.endsWith(QLatin1Char('2')) ? &w.second : &w.first;
        if (step == QLatin1String("start")) {
            monitor.start();
            continue;
        }
        if (step == QLatin1String("wait")) {
            // Every poll that is due runs; one that finds something new makes the next one due.
            QTest::qWait(3 * InputDeviceMonitor::PollInterval);
        } else if (step.startsWith(QLatin1Char('m'))) {
            QTest::mouseMove(target, QPoint(20, 20));
        } else if (step.startsWith(QLatin1Char('p'))) {
            QTest::mousePress(target, buttonNamed(step.at(1)));
        } else {
            QTest::mouseRelease(target, buttonNamed(step.at(1)));
        }
        seen.append(monitor.isPolling() ? QStringLiteral("y") : QStringLiteral("n"));
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), polling);
}

QTEST_MAIN(tst_InputDeviceMonitor)
#include "tst_inputdevicemonitor.moc"
