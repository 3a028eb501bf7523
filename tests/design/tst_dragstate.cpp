#include "design/dragstate.h"

#include <QtTest>

#include <limits>

using design::DragMode;

class tst_DragState : public QObject
{
    Q_OBJECT

private slots:
    void hitTest_data();
    void hitTest();
    void dragStep_data();
    void dragStep();
    void refusedAxisKeepsLastAppliedValue();
};

void tst_DragState::hitTest_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<DragMode>("mode");
    const QSize wide(120, 20);
    QTest::newRow("inside moves") << QPoint(60, 10) << wide << DragMode::Move;
    QTest::newRow("left band is 3 pixels") << QPoint(2, 10) << wide << DragMode::Left;
    QTest::newRow("just past the left band") << QPoint(3, 10) << wide << DragMode::Move;
    QTest::newRow("right band is 5 pixels") << QPoint(115, 10) << wide << DragMode::Right;
    QTest::newRow("just before the right band") << QPoint(114, 10) << wide << DragMode::Move;
    QTest::newRow("last column is right band") << QPoint(119, 10) << wide << DragMode::Right;
    QTest::newRow("top band is 3 pixels") << QPoint(60, 2) << wide << DragMode::Top;
    QTest::newRow("just below the top band") << QPoint(60, 3) << wide << DragMode::Move;
    QTest::newRow("bottom band is 5 pixels") << QPoint(60, 15) << wide << DragMode::Bottom;
    QTest::newRow("just above the bottom band") << QPoint(60, 14) << wide << DragMode::Move;
    QTest::newRow("corner wins over edge") << QPoint(0, 0) << wide << DragMode::TopLeft;
    QTest::newRow("top-left corner's far pixel") << QPoint(2, 2) << wide << DragMode::TopLeft;
    QTest::newRow("top-right corner") << QPoint(117, 1) << wide << DragMode::TopRight;
    QTest::newRow("bottom-right corner") << QPoint(119, 19) << wide << DragMode::BottomRight;
    QTest::newRow("bottom-left corner") << QPoint(1, 18) << wide << DragMode::BottomLeft;
    // An 88 x 32 button.
    QTest::newRow("button middle moves") << QPoint(44, 16) << QSize(88, 32) << DragMode::Move;
    QTest::newRow("button bottom edge") << QPoint(44, 27) << QSize(88, 32) << DragMode::Bottom;
    QTest::newRow("button above bottom band") << QPoint(44, 26) << QSize(88, 32) << DragMode::Move;
    // Widgets too small for a middle: the first matching band wins, in corner-then-edge order.
    QTest::newRow("6 wide: every column is left or right") << QPoint(3, 10) << QSize(6, 20) << DragMode::Right;
    QTest::newRow("3 x 3: top-left beats bottom-right") << QPoint(1, 1) << QSize(3, 3) << DragMode::TopLeft;
    QTest::newRow("8 x 8 at (2, 6): bottom-left") << QPoint(2, 6) << QSize(8, 8) << DragMode::BottomLeft;
    QTest::newRow("8 x 8 at (6, 2): top-right") << QPoint(6, 2) << QSize(8, 8) << DragMode::TopRight;
    QTest::newRow("zero size is a top-left corner") << QPoint(0, 0) << QSize(0, 0) << DragMode::TopLeft;
    QTest::newRow("huge widget middle") << QPoint(16000, 16000) << QSize(32627, 32627) << DragMode::Move;
}

void tst_DragState::hitTest()
{
    QFETCH(QPoint, offset);
    QFETCH(QSize, size);
    QFETCH(DragMode, mode);
    QCOMPARE(design::hitTest(offset, size), mode);
}

void tst_DragState::dragStep_data()
{
    QTest::addColumn<DragMode>("mode");
    QTest::addColumn<QRect>("press");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("applies");
    QTest::addColumn<QRect>("result");
    const QRect label(50, 40, 120, 20);
    QTest::newRow("move by (+30, +10)") << DragMode::Move << label << QPoint(30, 10) << true << QRect(80, 50, 120, 20);
    QTest::newRow("move without travel still applies") << DragMode::Move << label << QPoint(0, 0) << true << label;
    QTest::newRow("move left of the client area")
        << DragMode::Move << label << QPoint(-70, 0) << true << QRect(-20, 40, 120, 20);
    QTest::newRow("move keeps a size below the minimum")
        << DragMode::Move << QRect(0, 0, 10, 5) << QPoint(4, 4) << true << QRect(4, 4, 10, 5);
    QTest::newRow("left edge 30 to the left") << DragMode::Left << label << QPoint(-30, 7) << true
                                             << QRect(20, 40, 150, 20);
    QTest::newRow("left edge to exactly 20 wide") << DragMode::Left << label << QPoint(100, 0) << true
                                                 << QRect(150, 40, 20, 20);
    QTest::newRow("left edge to 19 wide is refused") << DragMode::Left << label << QPoint(101, 0) << false << QRect();
    QTest::newRow("right edge +50") << DragMode::Right << label << QPoint(50, -3) << true << QRect(50, 40, 170, 20);
    QTest::newRow("right edge 200 to the left is refused")
        << DragMode::Right << label << QPoint(-200, 0) << false << QRect();
    QTest::newRow("top edge up 5") << DragMode::Top << label << QPoint(9, -5) << true << QRect(50, 35, 120, 25);
    QTest::newRow("top edge down 1 leaves 19: refused") << DragMode::Top << label << QPoint(0, 1) << false << QRect();
    QTest::newRow("bottom edge down 15") << DragMode::Bottom << label << QPoint(0, 15) << true
                                        << QRect(50, 40, 120, 35);
    QTest::newRow("top-left by (-10, -5)") << DragMode::TopLeft << label << QPoint(-10, -5) << true
                                          << QRect(40, 35, 130, 25);
    QTest::newRow("top-right by (+10, -5)") << DragMode::TopRight << label << QPoint(10, -5) << true
                                           << QRect(50, 35, 130, 25);
    QTest::newRow("bottom-right by (+10, +5)") << DragMode::BottomRight << label << QPoint(10, 5) << true
                                              << QRect(50, 40, 130, 25);
    QTest::newRow("bottom-left by (-10, +5)") << DragMode::BottomLeft << label << QPoint(-10, 5) << true
                                             << QRect(40, 40, 130, 25);
    QTest::newRow("corner with one axis refused applies the other")
        << DragMode::BottomRight << label << QPoint(10, -5) << true << QRect(50, 40, 130, 20);
    // A widget made 10 wide in the grid: its right edge does nothing until the candidate reaches 20.
    const QRect narrow(30, 30, 10, 20);
    QTest::newRow("10 wide, right edge +9") << DragMode::Right << narrow << QPoint(9, 0) << false << QRect();
    QTest::newRow("10 wide, right edge +10") << DragMode::Right << narrow << QPoint(10, 0) << true
                                            << QRect(30, 30, 20, 20);
    QTest::newRow("10 wide, corner keeps x while its candidate is below 20")
        << DragMode::BottomRight << narrow << QPoint(5, 4) << true << QRect(30, 30, 10, 24);
    QTest::newRow("10 x 10, corner with both axes below 20")
        << DragMode::TopLeft << QRect(0, 0, 10, 10) << QPoint(-5, -5) << false << QRect();
    // Hostile travel: sizes never wrap around into something acceptable.
    QTest::newRow("left edge with the largest travel")
        << DragMode::Left << label << QPoint(std::numeric_limits<int>::max(), 0) << false << QRect();
    QTest::newRow("right edge with the most negative travel")
        << DragMode::Right << label << QPoint(std::numeric_limits<int>::min(), 0) << false << QRect();
    QTest::newRow("right edge beyond any int width")
        << DragMode::Right << QRect(0, 0, 32627, 20) << QPoint(std::numeric_limits<int>::max(), 0) << false << QRect();
}

void tst_DragState::dragStep()
{
    QFETCH(DragMode, mode);
    QFETCH(QRect, press);
    QFETCH(QPoint, delta);
    QFETCH(bool, applies);
    QFETCH(QRect, result);
    const std::optional<QRect> step = design::dragStepGeometry(mode, press, press, delta);
    QCOMPARE(step.has_value(), applies);
    if (applies)
        QCOMPARE(*step, result);
}

// Dragging the right edge of a 120-wide widget far to the left: the width stays at the last sampled
// width that was at least 20, wherever the pointer goes after that.
void tst_DragState::refusedAxisKeepsLastAppliedValue()
{
    const QRect press(50, 40, 120, 20);
    QRect last = press;
    for (int dx : {-40, -90, -99, -105, -200, -150}) {
        if (const std::optional<QRect> step = design::dragStepGeometry(DragMode::Right, press, last, QPoint(dx, 0)))
            last = *step;
        QVERIFY2(last.width() >= 20, qPrintable(QStringLiteral("width %1 after %2").arg(last.width()).arg(dx)));
    }
    QCOMPARE(last, QRect(50, 40, 21, 20));

    // A corner whose horizontal candidate is refused keeps the last applied horizontal values while
    // the vertical axis goes on following.
    last = press;
    const std::pair<QPoint, QRect> steps[] = {
        {QPoint(-30, 10), QRect(50, 40, 90, 30)},
        {QPoint(-110, 20), QRect(50, 40, 90, 40)},
        {QPoint(-110, -10), QRect(50, 40, 90, 40)},   // both refused: nothing applied
        {QPoint(0, 0), QRect(50, 40, 120, 20)},
    };
    for (const auto &[delta, expected] : steps) {
        if (const std::optional<QRect> step = design::dragStepGeometry(DragMode::BottomRight, press, last, delta))
            last = *step;
        QCOMPARE(last, expected);
    }
}

QTEST_APPLESS_MAIN(tst_DragState)

#include "tst_dragstate.moc"
