#include "design/designtesting.h"
#include "design/pointertracking.h"
#include "widgets/inputdevice/inputdevicecontrol.h"
#include "widgets/inputdevice/inputdevicemonitor.h"

#include <QAbstractButton>

using namespace designtesting;
using design::DragMode;

namespace {

widgets::native::PointerSample latestSample()
{
    return widgets::native::latestPointerSample();
}

widgets::InputDeviceMonitor *pointerDevice(const shell::Designer &designer)
{
    return static_cast<widgets::InputDeviceControl *>(designer.layer.control(shell::ids::InputDevice))->monitor();
}

} // namespace

// Drags go through the path the program uses: a press the pointer device sees on its next poll, the
// pointer moved with QCursor::setPos, the drag's own steps following it, and a release.
class tst_PointerTracking : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dragLabel_data();
    void dragLabel();
    void widthNeverBelowMinimum();
    void narrowWidgetEdgeWaitsForMinimum();
    void smallerOfOverlappingWidgetsIsDragged_data();
    void smallerOfOverlappingWidgetsIsDragged();
    void otherButtonsDoNothing_data();
    void otherButtonsDoNothing();
    void releaseOutsideDesignWindowEndsDrag();
    void pressOnNothingDraggableStartsNothing_data();
    void pressOnNothingDraggableStartsNothing();
    void movedButtonIsSelectedOnRelease();
    void dragInScrolledCanvas();
    void widgetFoundWhereThePressLandedInItsWindow_data();
    void widgetFoundWhereThePressLandedInItsWindow();
    void pointerShowsWhatAPressWouldDo_data();
    void pointerShowsWhatAPressWouldDo();

private:
    ControlRef m_label;   // a 120 x 20 label at (50, 40)

    QWidget *labelWidget() const { return m_designer->layer.widget(m_label); }
    // Puts the pointer at the offset inside the widget and presses there; the device must see it.
    void press(QWidget *widget, QPoint offset, Qt::MouseButton button = Qt::LeftButton);
    // Moves the pointer to the press point plus the travel and waits for a drag step taken after that.
    void travel(QPoint pressGlobal, QPoint delta);
    // Lets the button go where the pointer is now, as a hand does.
    void release(Qt::MouseButton button = Qt::LeftButton);
    QWindow *mainWindow() const { return m_designer->layer.widget(shell::ids::MainWindow)->windowHandle(); }

    std::unique_ptr<shell::Designer> m_designer;
    QPoint m_pressGlobal;
};

void tst_PointerTracking::init()
{
    m_designer = startDesigner();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
    m_label = place(*m_designer, LabelRow, QPoint(50, 40));
    QVERIFY(!m_label.isNull());
    QCOMPARE(rectOf(m_designer->layer, m_label), QRect(50, 40, 120, 20));
    QTRY_VERIFY(!QGuiApplication::mouseButtons());
}

void tst_PointerTracking::cleanup()
{
    // A failed check may leave a button held; let it go so the next designer starts clean.
    if (QGuiApplication::mouseButtons() & Qt::LeftButton)
        QTest::mouseRelease(m_designer->layer.widget(shell::ids::MainWindow), Qt::LeftButton, {}, QPoint(1, 1));
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

// Through the window, as the platform delivers a press: Qt finds the widget under it.
void tst_PointerTracking::press(QWidget *widget, QPoint offset, Qt::MouseButton button)
{
    m_pressGlobal = widget->mapToGlobal(offset);
    QCursor::setPos(m_pressGlobal);
    QTest::mousePress(widget->window()->windowHandle(), button, {}, widget->mapTo(widget->window(), offset));
}

void tst_PointerTracking::travel(QPoint pressGlobal, QPoint delta)
{
    const int before = m_designer->drag.passes;
    QCursor::setPos(pressGlobal + delta);
    QTRY_VERIFY(m_designer->drag.passes > before);
}

void tst_PointerTracking::release(Qt::MouseButton button)
{
    QTest::mouseRelease(mainWindow(), button, {}, mainWindow()->mapFromGlobal(QCursor::pos()));
    QTRY_VERIFY(!m_designer->drag.active);
}

void tst_PointerTracking::dragLabel_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<DragMode>("mode");
    QTest::addColumn<QRect>("result");
    // Quick: pressed, moved and released before the pointer device polls once, as a flick of the hand.
    QTest::addColumn<bool>("quick");
    // Where the design window places its widgets from, as Tk's root window with a border, ring and padding.
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("inside (60, 10) moves") << QPoint(60, 10) << QPoint(30, 10) << DragMode::Move
                                           << QRect(80, 50, 120, 20) << false << QPoint();
    QTest::newRow("(2, 10) drags the left edge") << QPoint(2, 10) << QPoint(-30, 0) << DragMode::Left
                                                 << QRect(20, 40, 150, 20) << false << QPoint();
    QTest::newRow("(3, 10) moves") << QPoint(3, 10) << QPoint(-30, 0) << DragMode::Move << QRect(20, 40, 120, 20) << false << QPoint();
    QTest::newRow("x 115 drags the right edge") << QPoint(115, 10) << QPoint(25, 4) << DragMode::Right
                                                << QRect(50, 40, 145, 20) << false << QPoint();
    QTest::newRow("x 114 moves") << QPoint(114, 10) << QPoint(25, 4) << DragMode::Move << QRect(75, 44, 120, 20) << false << QPoint();
    QTest::newRow("y 15 drags the bottom edge") << QPoint(60, 15) << QPoint(3, 12) << DragMode::Bottom
                                                << QRect(50, 40, 120, 32) << false << QPoint();
    QTest::newRow("y 14 moves") << QPoint(60, 14) << QPoint(3, 12) << DragMode::Move << QRect(53, 52, 120, 20) << false << QPoint();
    QTest::newRow("(0, 0) drags the top-left corner") << QPoint(0, 0) << QPoint(-10, -5) << DragMode::TopLeft
                                                      << QRect(40, 35, 130, 25) << false << QPoint();
    QTest::newRow("bottom-right corner") << QPoint(118, 18) << QPoint(40, 30) << DragMode::BottomRight
                                         << QRect(50, 40, 160, 50) << false << QPoint();
    QTest::newRow("left of the client area") << QPoint(60, 10) << QPoint(-90, -60) << DragMode::Move
                                             << QRect(-40, -20, 120, 20) << false << QPoint();
    QTest::newRow("far beyond the client area") << QPoint(60, 10) << QPoint(500, 400) << DragMode::Move
                                                << QRect(550, 440, 120, 20) << false << QPoint();
    QTest::newRow("a flick moves it all the way") << QPoint(60, 10) << QPoint(40, 0) << DragMode::Move
                                                  << QRect(90, 40, 120, 20) << true << QPoint();
    QTest::newRow("a flick sizes the bottom-right corner") << QPoint(118, 18) << QPoint(33, 21)
                                                           << DragMode::BottomRight << QRect(50, 40, 153, 41) << true << QPoint();
    QTest::newRow("inside a border: moves by the pointer's travel") << QPoint(60, 10) << QPoint(60, 40) << DragMode::Move
                                                                     << QRect(110, 80, 120, 20) << false << QPoint(9, 10);
    QTest::newRow("inside a border: the top-left corner") << QPoint(0, 0) << QPoint(-10, -5) << DragMode::TopLeft
                                                           << QRect(40, 35, 130, 25) << false << QPoint(9, 10);
    QTest::newRow("inside a border: onto it") << QPoint(60, 10) << QPoint(-60, -45) << DragMode::Move
                                               << QRect(-10, -5, 120, 20) << false << QPoint(9, 10);
    QTest::newRow("inside a border: a flick") << QPoint(118, 18) << QPoint(33, 21) << DragMode::BottomRight
                                               << QRect(50, 40, 153, 41) << true << QPoint(9, 10);
    QTest::newRow("an origin past 16 bits") << QPoint(60, 10) << QPoint(30, 10) << DragMode::Move
                                            << QRect(80, 50, 120, 20) << false << QPoint(65538, 2);
}

void tst_PointerTracking::dragLabel()
{
    QFETCH(QPoint, offset);
    QFETCH(QPoint, delta);
    QFETCH(DragMode, mode);
    QFETCH(QRect, result);
    QFETCH(bool, quick);
    QFETCH(QPoint, origin);
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.setChildOrigin(design::ids::DesignWindow, origin);
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 120, 20));
    press(labelWidget(), offset);
    if (quick) {
        QCursor::setPos(m_pressGlobal + delta);
        QTest::mouseRelease(mainWindow(), Qt::LeftButton, {}, mainWindow()->mapFromGlobal(QCursor::pos()));
        // The hand goes on after letting go: the widget stays where the button went up.
        QCursor::setPos(m_pressGlobal + delta + QPoint(25, 25));
        QTRY_COMPARE(rectOf(layer, m_label), result);
        QTRY_VERIFY(!m_designer->drag.active);
        QCOMPARE(gridValue(*m_designer, QStringLiteral("宽度")), QString::number(result.width()));
        return;
    }
    QTRY_VERIFY(m_designer->drag.active);
    QCOMPARE(m_designer->drag.mode, mode);
    QCOMPARE(m_designer->drag.target, layer.nativeHandle(m_label));
    QCOMPARE(m_designer->drag.pressGeometry, QRect(50, 40, 120, 20));

    // Half way first: the widget follows while the button is held.
    travel(m_pressGlobal, delta / 2);
    const QRect halfWay = rectOf(layer, m_label);
    QVERIFY2(halfWay != QRect(50, 40, 120, 20), "the widget did not follow the pointer");
    // The grid follows every step; the pressed label is the one it shows.
    QCOMPARE(gridValue(*m_designer, QStringLiteral("左边")), QString::number(halfWay.left()));
    QCOMPARE(gridValue(*m_designer, QStringLiteral("顶边")), QString::number(halfWay.top()));
    QCOMPARE(gridValue(*m_designer, QStringLiteral("宽度")), QString::number(halfWay.width()));
    QCOMPARE(gridValue(*m_designer, QStringLiteral("高度")), QString::number(halfWay.height()));

    travel(m_pressGlobal, delta);
    QCOMPARE(rectOf(layer, m_label), result);
    if (mode == DragMode::Move)
        QCOMPARE(labelWidget()->mapFromGlobal(QCursor::pos()), offset);
    QCOMPARE(gridValue(*m_designer, QStringLiteral("左边")), QString::number(result.left()));
    QCOMPARE(gridValue(*m_designer, QStringLiteral("宽度")), QString::number(result.width()));
    release();
    QCOMPARE(rectOf(layer, m_label), result);
    QCOMPARE(selectedEntry(*m_designer), 1);

    // After the release the pointer no longer moves it.
    QVERIFY(!m_designer->drag.stepTimer->isActive());
    QCursor::setPos(m_pressGlobal + delta + QPoint(40, 40));
    QCOMPARE(rectOf(layer, m_label), result);
}

// Dragging the right edge of the 120-wide label 200 pixels to the left: the width stops at the last
// sampled width that was at least 20.
void tst_PointerTracking::widthNeverBelowMinimum()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    press(labelWidget(), QPoint(117, 10));
    QTRY_VERIFY(m_designer->drag.active);
    travel(m_pressGlobal, QPoint(-60, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 60, 20));
    travel(m_pressGlobal, QPoint(-99, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 21, 20));
    travel(m_pressGlobal, QPoint(-101, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 21, 20));
    travel(m_pressGlobal, QPoint(-200, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 21, 20));
    travel(m_pressGlobal, QPoint(-100, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 20, 20));
    release();
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 20, 20));
}

// A widget made 10 pixels wide in the grid: dragging its right edge changes nothing until the width
// reaches 20; a corner never changes an axis whose candidate stays below 20.
void tst_PointerTracking::narrowWidgetEdgeWaitsForMinimum()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.writeProperty(m_label, Prop::Width, 10);
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 10, 20));

    press(labelWidget(), QPoint(6, 10));
    QTRY_VERIFY(m_designer->drag.active);
    QCOMPARE(m_designer->drag.mode, DragMode::Right);
    travel(m_pressGlobal, QPoint(5, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 10, 20));
    travel(m_pressGlobal, QPoint(9, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 10, 20));
    travel(m_pressGlobal, QPoint(10, 0));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 20, 20));
    release();

    layer.writeProperty(m_label, Prop::Width, 10);
    press(labelWidget(), QPoint(8, 18));
    QTRY_VERIFY(m_designer->drag.active);
    QCOMPARE(m_designer->drag.mode, DragMode::BottomRight);
    travel(m_pressGlobal, QPoint(4, 6));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 10, 26));
    travel(m_pressGlobal, QPoint(-30, -30));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 10, 26));
    release();
}

void tst_PointerTracking::smallerOfOverlappingWidgetsIsDragged_data()
{
    QTest::addColumn<int>("topRow");
    QTest::addColumn<QRect>("topRect");
    QTest::addColumn<bool>("labelDragged");
    // Buttons and check buttons stack above labels: a larger one on top must still let the label
    // under it be taken, and the grid shows the label (component 1), not what the press landed on.
    QTest::newRow("larger button on top") << int(ButtonRow) << QRect(40, 30, 200, 100) << true;
    QTest::newRow("larger check button on top") << int(CheckButtonRow) << QRect(40, 30, 200, 100) << true;
    QTest::newRow("smaller button on top") << int(ButtonRow) << QRect(60, 35, 40, 30) << false;
    QTest::newRow("same area: the topmost") << int(ButtonRow) << QRect(50, 40, 120, 20) << false;
}

void tst_PointerTracking::smallerOfOverlappingWidgetsIsDragged()
{
    QFETCH(int, topRow);
    QFETCH(QRect, topRect);
    QFETCH(bool, labelDragged);
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef top = place(*m_designer, topRow, QPoint(200, 150));
    layer.moveControl(top, topRect.left(), topRect.top(), topRect.width(), topRect.height());
    QWidget *topWidget = layer.widget(top);
    const QPoint pointInBoth = designClient(*m_designer)->mapToGlobal(QPoint(70, 50));
    QCOMPARE(QApplication::widgetAt(pointInBoth), topWidget);

    const QPoint local = topWidget->mapFromGlobal(pointInBoth);
    QCursor::setPos(pointInBoth);
    QTest::mouseMove(topWidget, local);
    QCOMPARE(design::windowUnderPointer(latestSample()), layer.nativeHandle(labelDragged ? m_label : top));

    press(topWidget, local);
    QTRY_VERIFY(m_designer->drag.active);
    const int before = m_designer->drag.passes;
    QCursor::setPos(pointInBoth + QPoint(10, 10));
    QTRY_VERIFY(m_designer->drag.passes > before);
    if (labelDragged) {
        QCOMPARE(selectedEntry(*m_designer), 1);
        QCOMPARE(gridValue(*m_designer, QStringLiteral("左边")), QStringLiteral("60"));
    }
    release();
    QCOMPARE(selectedEntry(*m_designer), labelDragged ? 1 : 2);
    if (labelDragged) {
        QCOMPARE(rectOf(layer, m_label), QRect(60, 50, 120, 20));
        QCOMPARE(rectOf(layer, top), topRect);
    } else {
        QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 120, 20));
        QCOMPARE(rectOf(layer, top), topRect.translated(10, 10));
    }
    if (topRow == CheckButtonRow)
        QVERIFY(!layer.readBoolean(top, Prop::Checked));
}

void tst_PointerTracking::otherButtonsDoNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("key");
    QTest::newRow("right") << Qt::RightButton << 257;
    QTest::newRow("middle") << Qt::MiddleButton << 258;
}

void tst_PointerTracking::otherButtonsDoNothing()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, key);
    QSignalSpy buttons(pointerDevice(*m_designer), &widgets::InputDeviceMonitor::buttonChanged);
    press(labelWidget(), QPoint(60, 10), button);
    QTRY_VERIFY(buttons.contains(QVariantList({key, 2})));
    QVERIFY(!m_designer->drag.active);
    QCursor::setPos(m_pressGlobal + QPoint(30, 30));
    release(button);
    QTRY_VERIFY(buttons.contains(QVariantList({key, 1})));
    QVERIFY(!m_designer->drag.active);
    QCOMPARE(rectOf(m_designer->layer, m_label), QRect(50, 40, 120, 20));
}

void tst_PointerTracking::releaseOutsideDesignWindowEndsDrag()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    press(labelWidget(), QPoint(60, 10));
    QTRY_VERIFY(m_designer->drag.active);
    // Over the property grid, far outside the design window.
    QWidget *grid = layer.widget(shell::ids::PropertyGrid);
    const QPoint overGrid = grid->mapToGlobal(QPoint(20, 20));
    travel(m_pressGlobal, overGrid - m_pressGlobal);
    const QRect dropped = rectOf(layer, m_label);
    QCOMPARE(dropped, QRect(QPoint(50, 40) + (overGrid - m_pressGlobal), QSize(120, 20)));
    release();
    QVERIFY(!m_designer->drag.stepTimer->isActive());
    QCOMPARE(m_designer->drag.target, quintptr(0));
    QCursor::setPos(overGrid + QPoint(50, 50));
    QCOMPARE(rectOf(layer, m_label), dropped);
}

void tst_PointerTracking::pressOnNothingDraggableStartsNothing_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("empty design-window area") << QStringLiteral("client");
    QTest::newRow("design window's caption") << QStringLiteral("caption");
    QTest::newRow("status bar") << QStringLiteral("status");
    QTest::newRow("a template's place") << QStringLiteral("template");
}

void tst_PointerTracking::pressOnNothingDraggableStartsNothing()
{
    QFETCH(QString, where);
    widgets::WidgetLayer &layer = m_designer->layer;
    QWidget *target = designClient(*m_designer);
    QPoint at(250, 150);
    if (where == QLatin1String("caption")) {
        target = layer.widget(design::ids::DesignWindow);
        at = QPoint(100, 8);
    } else if (where == QLatin1String("status")) {
        target = layer.widget(shell::ids::StatusBar);
        at = QPoint(30, 10);
    } else if (where == QLatin1String("template")) {
        at = QPoint(175, 62);   // inside the hidden check-button template's rectangle only
    }
    QSignalSpy buttons(pointerDevice(*m_designer), &widgets::InputDeviceMonitor::buttonChanged);
    press(target, at);
    QTRY_VERIFY(buttons.contains(QVariantList({256, 2})));
    QVERIFY(!m_designer->drag.active);
    release();
    QTRY_VERIFY(buttons.contains(QVariantList({256, 1})));
    QCOMPARE(rectOf(layer, m_label), QRect(50, 40, 120, 20));
    QCOMPARE(layer.readInteger(design::ids::DesignWindow, Prop::Left), 20);
}

// A moved button stays under the pointer, so its release is a click over it and selects it.
void tst_PointerTracking::movedButtonIsSelectedOnRelease()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef button = place(*m_designer, ButtonRow, QPoint(40, 100));
    clickDesignWindow(*m_designer, QPoint(280, 190));
    QCOMPARE(selectedEntry(*m_designer), 0);
    QWidget *widget = layer.widget(button);
    QSignalSpy clicked(static_cast<QAbstractButton *>(widget), &QAbstractButton::clicked);
    press(widget, QPoint(44, 16));
    QTRY_VERIFY(m_designer->drag.active);
    QCOMPARE(selectedEntry(*m_designer), 0);
    // In small steps, as a hand moves: the pointer never leaves the button, which stays down.
    for (int step = 1; step <= 10; ++step)
        travel(m_pressGlobal, QPoint(6, 2) * step);
    QCOMPARE(rectOf(layer, button), QRect(100, 120, 88, 32));
    QVERIFY(static_cast<QAbstractButton *>(widget)->isDown());
    release();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(selectedEntry(*m_designer), 2);
}

// Positions are in the design window's client area, which moves with the canvas.
void tst_PointerTracking::dragInScrolledCanvas()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.moveControl(shell::ids::DesignCanvas, -15, -7);
    press(labelWidget(), QPoint(60, 10));
    QTRY_VERIFY(m_designer->drag.active);
    travel(m_pressGlobal, QPoint(5, 6));
    release();
    QCOMPARE(rectOf(layer, m_label), QRect(55, 46, 120, 20));
}

void tst_PointerTracking::widgetFoundWhereThePressLandedInItsWindow_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QPoint>("offset");
    // A check button at (50, 64) just below the label at (50, 40); the hidden templates lie at
    // (16, 48) and elsewhere. Points in the design window's client coordinates.
    QTest::newRow("the label") << QPoint(51, 41) << "label" << QPoint(1, 1);
    QTest::newRow("the check button") << QPoint(80, 70) << "check" << QPoint(30, 6);
    QTest::newRow("24 px above the check button") << QPoint(80, 30) << "client" << QPoint(80, 30);
    QTest::newRow("a hidden template's place") << QPoint(20, 70) << "client" << QPoint(20, 70);
}

// Only the window's own coordinates count: the screen position a window manager reports with an
// event, or the one it never corrects in Qt's idea of the window, does not move the hit.
void tst_PointerTracking::widgetFoundWhereThePressLandedInItsWindow()
{
    QFETCH(QPoint, at);
    QFETCH(QString, found);
    QFETCH(QPoint, offset);
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef check = place(*m_designer, CheckButtonRow, QPoint(50, 64));
    QWidget *client = designClient(*m_designer);
    QWidget *top = client->window();
    // The sample the pointer device gives with the press.
    widgets::native::PointerSample sample;
    connect(pointerDevice(*m_designer), &widgets::InputDeviceMonitor::buttonChanged, this, [&](int key, int state) {
        if (key == widgets::PointerKey::Left && state == widgets::ButtonState::Pressed)
            sample = pointerDevice(*m_designer)->changeSample();
    });
    press(client, at);
    QTRY_VERIFY(sample.serial != 0);
    release();
    QCOMPARE(sample.inWindow, client->mapTo(top, at));
    sample.screen = QPoint(-5000, 24);
    const quintptr expected = found == QLatin1String("label")   ? layer.nativeHandle(m_label)
                              : found == QLatin1String("check") ? layer.nativeHandle(check)
                                                                 : quintptr(client);
    QCOMPARE(design::windowUnderPointer(sample), expected);
    QCOMPARE(design::pointerOffset(expected, sample), offset);
    if (found == QLatin1String("label"))
        QCOMPARE(design::widgetRect(expected), QRect(50, 40, 120, 20));
}

void tst_PointerTracking::pointerShowsWhatAPressWouldDo_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<Qt::CursorShape>("shape");
    QTest::newRow("inside: the ordinary arrow") << QPoint(60, 10) << Qt::ArrowCursor;
    QTest::newRow("left edge") << QPoint(1, 10) << Qt::SizeHorCursor;
    QTest::newRow("right edge") << QPoint(116, 10) << Qt::SizeHorCursor;
    QTest::newRow("bottom edge") << QPoint(60, 17) << Qt::SizeVerCursor;
    QTest::newRow("top-left corner") << QPoint(0, 0) << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left corner") << QPoint(1, 18) << Qt::SizeBDiagCursor;
}

void tst_PointerTracking::pointerShowsWhatAPressWouldDo()
{
    QFETCH(QPoint, offset);
    QFETCH(Qt::CursorShape, shape);
    // Come from inside, so that every row starts from the arrow.
    QCursor::setPos(labelWidget()->mapToGlobal(QPoint(60, 10)));
    QTRY_COMPARE(labelWidget()->cursor().shape(), Qt::ArrowCursor);
    QCursor::setPos(labelWidget()->mapToGlobal(offset));
    QTRY_COMPARE(labelWidget()->cursor().shape(), shape);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_PointerTracking test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pointertracking.moc"
