// The designer's own work while the user builds a design: placing widgets through the design window's
// press handler, one drag step, one pointer poll over the widgets, writing the grid back to a widget,
// and the process's memory after start-up, after 1,000 placements and around a 60-second drag.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/bench_design [slot]
#include "benchsupport.h"

#include "design/pointertracking.h"
#include "model/propertyediting.h"

#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace bench;

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
    QTest::mouseMove(widget, QPoint(10, 10));
    QCOMPARE(design::windowUnderPointer(widgets::native::latestPointerSample()),
             designer->layer.nativeHandle(last->widget));
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
