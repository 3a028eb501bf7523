// The interface scales with the screen's logical resolution; the design stays in screen pixels.
// Run on a 96 and on a 144 dots-per-inch screen, and on the 96 one under a Qt scale factor of 1.5.
#include "support/screenscale.h"
#include "widgets/screenscaling.h"
#include "widgets/widgetlayer.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>

using namespace widgets;

namespace {

constexpr int TestWindow = 9;
constexpr ControlRef Window = windowRef(TestWindow);
constexpr ControlRef Scaled{TestWindow, 1, ControlType::Label};
constexpr ControlRef InPixels{TestWindow, 2, ControlType::Label};

} // namespace

class tst_ScreenScaling : public QObject
{
    Q_OBJECT

private slots:
    void rectangles_data();
    void rectangles();
    void requestedScaleFactor_data();
    void requestedScaleFactor();
    void layoutUnitsScaleScreenPixelsDoNot();
    void windowLargerThanTheScreenStartsWithinIt();
};

void tst_ScreenScaling::rectangles_data()
{
    QTest::addColumn<QRect>("units");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("unscaled") << QRect(-30, 7, 120, 20) << 1.0 << QRect(-30, 7, 120, 20);
    QTest::newRow("doubled") << QRect(-30, 7, 120, 20) << 2.0 << QRect(-60, 14, 240, 40);
    // Edges round on their own, halves away from zero: 1.5 -> 2, 22.5 -> 23, -1.5 -> -2.
    QTest::newRow("half again, edges rounded") << QRect(1, 1, 14, 14) << 1.5 << QRect(2, 2, 21, 21);
    QTest::newRow("half again, negative edge") << QRect(-1, 0, 15, 15) << 1.5 << QRect(-2, 0, 23, 23);
    // A size comes from its edges, not on its own: the right edge 4 * 1.5 = 6 less the left 2 makes
    // 4 wide where 3 * 1.5 = 4.5 would round to 5, and the bottom 12 less 5 makes 7, not 8.
    QTest::newRow("half again, size from the edges") << QRect(1, 3, 3, 5) << 1.5 << QRect(2, 5, 4, 7);
    // Both ways: 2.5 -> 3 to 6.25 -> 6 is 3 wide, not 3.75 -> 4; back, 2.4 -> 2 to 4.8 -> 5 is 3, not 2.4 -> 2.
    QTest::newRow("a quarter again, size from the edges") << QRect(2, 2, 3, 3) << 1.25 << QRect(3, 3, 3, 3);
    QTest::newRow("largest design values") << QRect(32627, -32627, 32627, 32627) << 3.0
                                           << QRect(97881, -97881, 97881, 97881);
}

void tst_ScreenScaling::rectangles()
{
    QFETCH(QRect, units);
    QFETCH(qreal, scale);
    QFETCH(QRect, pixels);
    QCOMPARE(toScreen(units, scale), pixels);
    QCOMPARE(fromScreen(pixels, scale), units);
    // Controls that touch in the table touch on the screen.
    const QRect right(units.right() + 1, units.top(), 7, units.height());
    QCOMPARE(toScreen(right, scale).left(), pixels.right() + 1);
}

void tst_ScreenScaling::requestedScaleFactor_data()
{
    QTest::addColumn<QByteArray>("scaleFactor");
    QTest::addColumn<QByteArray>("screenFactors");
    QTest::addColumn<qreal>("factor");
    QTest::newRow("neither") << QByteArray() << QByteArray() << 1.0;
    QTest::newRow("scale factor") << QByteArray("2") << QByteArray() << 2.0;
    QTest::newRow("screen factor") << QByteArray() << QByteArray("1.5") << 1.5;
    QTest::newRow("both multiply") << QByteArray("2") << QByteArray("1.5") << 3.0;
    QTest::newRow("named screens: the first") << QByteArray() << QByteArray("eDP-1=1.25;HDMI-1=2;") << 1.25;
    QTest::newRow("not a number") << QByteArray("big") << QByteArray("x;y") << 1.0;
    QTest::newRow("zero and negative") << QByteArray("0") << QByteArray("-2") << 1.0;
}

void tst_ScreenScaling::requestedScaleFactor()
{
    QFETCH(QByteArray, scaleFactor);
    QFETCH(QByteArray, screenFactors);
    QFETCH(qreal, factor);
    QCOMPARE(widgets::requestedScaleFactor(scaleFactor, screenFactors), factor);
}

// The lengths are even, so that half again is exact: 10,10 120 x 20 shows as 15,15 180 x 30.
void tst_ScreenScaling::layoutUnitsScaleScreenPixelsDoNot()
{
    const qreal scale = testsupport::expectedInterfaceScale();
    QCOMPARE(interfaceScale(), scale);
    WidgetLayer layer;
    WindowLayout layout;
    layout.window.id = TestWindow;
    layout.window.size = QSize(400, 300);
    ControlEntry scaled{Scaled.control, {}, ControlType::Label, QRect(10, 10, 120, 20)};
    ControlEntry inPixels = scaled;
    inPixels.id = InPixels.control;
    inPixels.screenPixels = true;
    layout.controls = {scaled, inPixels};
    layer.registerWindow(layout);
    QVERIFY(layer.loadWindow(TestWindow));

    QCOMPARE(layer.widget(Scaled)->geometry(), testsupport::multiplied(QRect(10, 10, 120, 20)));
    QCOMPARE(layer.widget(InPixels)->geometry(), QRect(10, 10, 120, 20));
    QCOMPARE(layer.widget(Window)->size(), testsupport::multiplied(QRect(0, 0, 400, 300)).size());
    layer.moveControl(Scaled, 20, 30, 100, 50);
    layer.moveControl(InPixels, 20, 30, 100, 50);
    for (const ControlRef &ref : {Scaled, InPixels}) {
        QCOMPARE(layer.readInteger(ref, Prop::Left), 20);
        QCOMPARE(layer.readInteger(ref, Prop::Width), 100);
    }
    QCOMPARE(layer.widget(Scaled)->geometry(), testsupport::multiplied(QRect(20, 30, 100, 50)));
    QCOMPARE(layer.widget(InPixels)->geometry(), QRect(20, 30, 100, 50));
    QCOMPARE(layer.clientWidth(Window), 400);
}

void tst_ScreenScaling::windowLargerThanTheScreenStartsWithinIt()
{
    WidgetLayer layer;
    WindowLayout layout;
    layout.window.id = TestWindow;
    layout.window.size = QSize(5000, 4000);
    layout.window.centred = true;
    layer.registerWindow(layout);
    QVERIFY(layer.loadWindow(TestWindow));
    QWidget *window = layer.widget(Window);
    // Its smallest size is where it started, as the main window's is; the screen wins.
    layer.setSizeLimits(Window, QSize(5000, 4000), layer.availableScreenSize());
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_VERIFY(available.contains(window->frameGeometry()));
    QVERIFY(window->width() > available.width() / 2);
}

// Started as the designer starts, so that a scale asked of Qt takes as it does there.
int main(int argc, char **argv)
{
    prepareScreenScaling();
    QApplication app(argc, argv);
    tst_ScreenScaling test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_screenscaling.moc"
