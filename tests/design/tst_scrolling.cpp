#include "design/designtesting.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

using namespace designtesting;

namespace {

QScrollBar *scrollBar(const shell::Designer &designer, const ControlRef &ref)
{
    return qobject_cast<QScrollBar *>(designer.layer.widget(ref));
}

QRect scrollBarPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

} // namespace

class tst_Scrolling : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void barsStepByOnePixel();
    void oneClickScrollsEverythingByOnePixel_data();
    void oneClickScrollsEverythingByOnePixel();
    void endOfBarPutsCanvasOutOfView_data();
    void endOfBarPutsCanvasOutOfView();
    void thumbDragMovesCanvasWhileDragging();
    void designCoordinatesDoNotChange();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_Scrolling::init()
{
    m_designer = startDesigner();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
}

void tst_Scrolling::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Scrolling::barsStepByOnePixel()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    for (const ControlRef &ref : {shell::ids::HorizontalScrollBar, shell::ids::VerticalScrollBar}) {
        QScrollBar *bar = scrollBar(*m_designer, ref);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 1);
        QVERIFY(bar->hasTracking());
        QCOMPARE(bar->value(), 0);
    }
    QCOMPARE(scrollBar(*m_designer, shell::ids::HorizontalScrollBar)->maximum(),
             layer.readInteger(shell::ids::DesignCanvas, Prop::Width));
    QCOMPARE(scrollBar(*m_designer, shell::ids::VerticalScrollBar)->maximum(),
             layer.readInteger(shell::ids::DesignCanvas, Prop::Height));
}

void tst_Scrolling::oneClickScrollsEverythingByOnePixel_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("part");
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("right arrow") << true << int(QStyle::SC_ScrollBarAddLine) << QPoint(-1, 0);
    QTest::newRow("horizontal trough") << true << int(QStyle::SC_ScrollBarAddPage) << QPoint(-1, 0);
    QTest::newRow("down arrow") << false << int(QStyle::SC_ScrollBarAddLine) << QPoint(0, -1);
    QTest::newRow("vertical trough") << false << int(QStyle::SC_ScrollBarAddPage) << QPoint(0, -1);
}

void tst_Scrolling::oneClickScrollsEverythingByOnePixel()
{
    QFETCH(bool, horizontal);
    QFETCH(int, part);
    QFETCH(QPoint, shift);
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef label = place(*m_designer, LabelRow, QPoint(40, 30));
    QWidget *labelWidget = layer.widget(label);
    QWidget *window = layer.widget(design::ids::DesignWindow);
    const QPoint labelBefore = labelWidget->mapToGlobal(QPoint(0, 0));
    const QPoint windowBefore = window->mapToGlobal(QPoint(0, 0));

    QScrollBar *bar = scrollBar(*m_designer, horizontal ? shell::ids::HorizontalScrollBar : shell::ids::VerticalScrollBar);
    const QRect target = scrollBarPart(bar, QStyle::SubControl(part));
    QVERIFY(target.isValid());
    QTest::mouseClick(bar, Qt::LeftButton, {}, target.center());
    QCOMPARE(bar->value(), 1);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Left), shift.x());
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), shift.y());
    QCOMPARE(window->mapToGlobal(QPoint(0, 0)), windowBefore + shift);
    QCOMPARE(labelWidget->mapToGlobal(QPoint(0, 0)), labelBefore + shift);

    // And back.
    QTest::mouseClick(bar, Qt::LeftButton, {}, scrollBarPart(bar, QStyle::SC_ScrollBarSubLine).center());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Left), 0);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), 0);
}

void tst_Scrolling::endOfBarPutsCanvasOutOfView_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::newRow("horizontal") << true;
    QTest::newRow("vertical") << false;
}

void tst_Scrolling::endOfBarPutsCanvasOutOfView()
{
    QFETCH(bool, horizontal);
    widgets::WidgetLayer &layer = m_designer->layer;
    QScrollBar *bar = scrollBar(*m_designer, horizontal ? shell::ids::HorizontalScrollBar : shell::ids::VerticalScrollBar);
    QWidget *canvas = layer.widget(shell::ids::DesignCanvas);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_End);
    QCOMPARE(bar->value(), bar->maximum());
    if (horizontal)
        QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Left), -canvas->width());
    else
        QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), -canvas->height());
    QVERIFY(canvas->visibleRegion().isEmpty());

    QTest::keyClick(bar, Qt::Key_Home);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Left), 0);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), 0);
    QVERIFY(!canvas->visibleRegion().isEmpty());
}

void tst_Scrolling::thumbDragMovesCanvasWhileDragging()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    QScrollBar *bar = scrollBar(*m_designer, shell::ids::VerticalScrollBar);
    const QPoint thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    int lastTop = 0;
    for (int step = 1; step <= 3; ++step) {
        QTest::mouseMove(bar, thumb + QPoint(0, 30 * step));
        const int top = layer.readInteger(shell::ids::DesignCanvas, Prop::Top);
        QVERIFY2(top < lastTop, qPrintable(QStringLiteral("step %1: top %2 after %3").arg(step).arg(top).arg(lastTop)));
        QCOMPARE(top, -bar->value());
        lastTop = top;
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(0, 90));
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), -bar->value());
}

// The status bar's pointer coordinates and a widget's position are relative to the design window's
// client area, which scrolls with the canvas.
void tst_Scrolling::designCoordinatesDoNotChange()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef label = place(*m_designer, LabelRow, QPoint(40, 30));
    QScrollBar *horizontal = scrollBar(*m_designer, shell::ids::HorizontalScrollBar);
    QScrollBar *vertical = scrollBar(*m_designer, shell::ids::VerticalScrollBar);
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(horizontal, Qt::LeftButton, {}, scrollBarPart(horizontal, QStyle::SC_ScrollBarAddLine).center());
        QTest::mouseClick(vertical, Qt::LeftButton, {}, scrollBarPart(vertical, QStyle::SC_ScrollBarAddLine).center());
    }
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Left), -5);
    QCOMPARE(layer.readInteger(shell::ids::DesignCanvas, Prop::Top), -5);
    QCOMPARE(rectOf(layer, label), QRect(40, 30, 120, 20));
    QCOMPARE(layer.readInteger(design::ids::DesignWindow, Prop::Left), 20);
    QTest::mouseMove(designClient(*m_designer), QPoint(12, 7));
    QCOMPARE(layer.readText(shell::ids::StatusBar, Prop::LabelText), QStringLiteral(" 指针座标: 12,7"));

    // A widget placed now still lands where the press was, in client coordinates.
    const ControlRef button = place(*m_designer, ButtonRow, QPoint(150, 100));
    QCOMPARE(rectOf(layer, button), QRect(150, 100, 88, 32));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_Scrolling test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scrolling.moc"
