// The designer's own work while the user builds a design: placing widgets through the design window's
// press handler, one drag step, one pointer poll over the widgets, writing the grid back to a widget,
// and the process's memory after start-up, after 1,000 placements and around a 60-second drag.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_design [slot]
#include "design/designwindowids.h"
#include "design/pointertracking.h"
#include "model/propertyediting.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using widgets::Prop;

std::unique_ptr<shell::Designer> startDesigner()
{
    QCursor::setPos(QPoint(0, 0));
    auto designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    // Room for a thousand widgets side by side.
    designer->layer.moveControl(design::ids::DesignWindow, std::nullopt, std::nullopt, 1280, 3700);
    QCoreApplication::processEvents();
    return designer;
}

QWidget *designClient(const shell::Designer &designer)
{
    return designer.layer.control(design::ids::DesignWindow)->clientWidget();
}

// The n-th press point (from 0) of a run of placements: ten widgets a row, none overlapping another, so
// that a thousand of them make a design a user could have drawn on a large design window.
QPoint pressPoint(int n)
{
    return QPoint(4 + (n % 10) * 124, 4 + (n / 10) * 36);
}

// Chooses a kind in the palette and presses the design window, as the user does; answers the time the
// press took in milliseconds.
double placeOne(shell::Designer &designer, int n)
{
    designer.layer.writeProperty(shell::ids::Palette, Prop::MenuCurrentItem, 1 + n % 5);
    QWidget *client = designClient(designer);
    QElapsedTimer timer;
    timer.start();
    QTest::mousePress(client, Qt::LeftButton, {}, pressPoint(n));
    const double ms = timer.nsecsElapsed() / 1e6;
    QTest::mouseRelease(client, Qt::LeftButton, {}, pressPoint(n));
    return ms;
}

void placeMany(shell::Designer &designer, int count, QList<double> *times = nullptr)
{
    for (int n = 0; n < count; ++n) {
        const double ms = placeOne(designer, n);
        if (times)
            times->append(ms);
    }
    // The pointer device reports the last press and release on its next poll; let it.
    QTest::qWait(30);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double residentMib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Prints a figure that is not a timing, in the form bench/run.sh collects.
void report(const char *name, double value)
{
    std::printf("FIGURE %s %.3f\n", name, value);
    std::fflush(stdout);
}

} // namespace

class bench_Design : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void dragStep_data();
    void dragStep();
    void pointerPoll_data();
    void pointerPoll();
    void applyPropertyEdits();
    void memoryAfterPlacing();
    void memoryDuringLongDrag();
};

void bench_Design::placement_data()
{
    QTest::addColumn<bool>("atEnd");
    QTest::newRow("first 20 of 1000") << false;
    QTest::newRow("last 20 of 1000") << true;
}

// The median of twenty presses at the start or at the end of a run of 1,000 placements.
void bench_Design::placement()
{
    QFETCH(bool, atEnd);
    auto designer = startDesigner();
    QList<double> times;
    placeMany(*designer, 1000, &times);
    QCOMPARE(designer->model.lastNumber, 1000);
    QTest::setBenchmarkResult(median(atEnd ? times.mid(980) : times.mid(0, 20)), QTest::WalltimeMilliseconds);
}

void bench_Design::dragStep_data()
{
    QTest::addColumn<int>("widgets");
    QTest::newRow("10 widgets") << 10;
    QTest::newRow("1000 widgets") << 1000;
}

// One step of a move: the geometry applied, the grid refilled, and what changed painted.
void bench_Design::dragStep()
{
    QFETCH(int, widgets);
    auto designer = startDesigner();
    placeMany(*designer, widgets);
    const model::Component *last = designer->model.componentByNumber(designer->model.lastNumber);
    QVERIFY(last);
    designer->layer.moveControl(last->widget, 40, 40);
    design::DragState &drag = designer->drag;
    const quintptr handle = designer->layer.nativeHandle(last->widget);
    drag.pressGeometry = design::widgetRect(handle);
    drag.lastApplied = drag.pressGeometry;
    drag.pressPointer = QCursor::pos();
    drag.mode = design::DragMode::Move;
    drag.target = handle;
    drag.active = true;
    int step = 0;
    QBENCHMARK {
        QCursor::setPos(drag.pressPointer + QPoint(++step % 7, step % 5));
        design::followPointer(*designer);
        QCoreApplication::processEvents();
    }
    QVERIFY(drag.active);
    design::endDrag(*designer);
}

void bench_Design::pointerPoll_data()
{
    dragStep_data();
}

// What the pointer device's position notification costs when the pointer rests over a widget.
void bench_Design::pointerPoll()
{
    QFETCH(int, widgets);
    auto designer = startDesigner();
    placeMany(*designer, widgets);
    // The newest widget lies above all the others; brought into view, every other one is below it.
    const model::Component *last = designer->model.componentByNumber(designer->model.lastNumber);
    designer->layer.moveControl(last->widget, 40, 40);
    QWidget *widget = designer->layer.widget(last->widget);
    QCursor::setPos(widget->mapToGlobal(QPoint(10, 10)));
    QCOMPARE(design::windowUnderPointer(), designer->layer.nativeHandle(last->widget));
    QBENCHMARK {
        design::onPointerMoved(*designer);
    }
}

// The grid's edit-ended notification for a label: every row written back to it and redisplayed.
void bench_Design::applyPropertyEdits()
{
    auto designer = startDesigner();
    placeMany(*designer, 1);
    QBENCHMARK {
        model::applyPropertyEdits(*designer);
    }
}

void bench_Design::memoryAfterPlacing()
{
    auto designer = startDesigner();
    QTest::qWait(200);
    report("rss_started_mib", residentMib());
    placeMany(*designer, 1000);
    QCOMPARE(designer->model.lastNumber, 1000);
    QTest::qWait(200);
    report("rss_1000_widgets_mib", residentMib());
}

// A drag of 60 seconds through the program's own path: the pointer device sees the press, the pointer
// travels in circles, the drag follows until the release.
void bench_Design::memoryDuringLongDrag()
{
    auto designer = startDesigner();
    placeMany(*designer, 10);
    const model::Component *last = designer->model.componentByNumber(designer->model.lastNumber);
    designer->layer.moveControl(last->widget, 40, 40);
    QTest::qWait(200);
    QWidget *widget = designer->layer.widget(last->widget);
    const QPoint press = widget->mapToGlobal(QPoint(40, 10));
    QCursor::setPos(press);
    QTest::qWait(50);
    report("rss_before_drag_mib", residentMib());

    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(40, 10));
    QTRY_VERIFY(designer->drag.active);
    QElapsedTimer clock;
    clock.start();
    QTimer mover;
    mover.setInterval(5);
    QObject::connect(&mover, &QTimer::timeout, [&] {
        const double angle = clock.elapsed() / 500.0;
        QCursor::setPos(press + QPoint(int(60 * std::cos(angle)), int(40 * std::sin(angle))));
    });
    mover.start();
    const int seconds = qEnvironmentVariableIntValue("BENCH_DRAG_SECONDS") > 0
        ? qEnvironmentVariableIntValue("BENCH_DRAG_SECONDS") : 60;
    // The first seconds may still fill caches; growth is judged from there on.
    const int settle = std::min(10, seconds / 2);
    QTest::qWait(settle * 1000);
    report("rss_settled_drag_mib", residentMib());
    QTest::qWait((seconds - settle) * 1000);
    mover.stop();
    const int passes = designer->drag.passes;
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(40, 10));
    QTRY_VERIFY(!designer->drag.active);
    QTest::qWait(200);
    report("rss_after_drag_mib", residentMib());
    report("drag_steps", passes);
}

QTEST_MAIN(bench_Design)
#include "bench_design.moc"
