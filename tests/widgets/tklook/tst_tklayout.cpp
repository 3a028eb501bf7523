// Tk's placement of a widget's text and indicator, as measured on Tk 8.6 screenshots.
#include "widgets/tklook/tklayout.h"

#include <QtTest>

using namespace widgets;

Q_DECLARE_METATYPE(widgets::tk::Anchor)

class tst_TkLayout : public QObject
{
    Q_OBJECT

private slots:
    void anchoredOrigin_data();
    void anchoredOrigin();
    void indicatorPlace_data();
    void indicatorPlace();
};

void tst_TkLayout::anchoredOrigin_data()
{
    QTest::addColumn<tk::Anchor>("anchor");
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("inset");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("label of 120 x 20, anchor w") << tk::Anchor::West << QSize(120, 20) << 1 << QSize(24, 15) << QPoint(2, 2);
    QTest::newRow("button of 88 x 32, centred") << tk::Anchor::Center << QSize(88, 32) << 2 << QSize(24, 15) << QPoint(32, 8);
    QTest::newRow("odd room leaves the spare pixel right and below") << tk::Anchor::Center << QSize(89, 33) << 2
                                                                            << QSize(24, 15) << QPoint(32, 9);
    // C division truncates toward zero: a block wider than the widget sticks out a pixel more on the left.
    QTest::newRow("text wider than the button") << tk::Anchor::Center << QSize(88, 32) << 2 << QSize(101, 15) << QPoint(-6, 8);
    QTest::newRow("text taller than the label") << tk::Anchor::West << QSize(120, 10) << 1 << QSize(24, 15) << QPoint(2, -2);
}

void tst_TkLayout::anchoredOrigin()
{
    QFETCH(tk::Anchor, anchor);
    QFETCH(QSize, widget);
    QFETCH(int, inset);
    QFETCH(QSize, inner);
    QFETCH(QPoint, origin);
    QCOMPARE(tk::anchoredOrigin(anchor, widget, inset, QSize(1, 1), inner), origin);
}

void tst_TkLayout::indicatorPlace_data()
{
    QTest::addColumn<bool>("check");
    QTest::addColumn<int>("lineSpacing");
    QTest::addColumn<int>("zeroWidth");
    QTest::addColumn<QPoint>("centre");
    // Widgets 20 high at 3 pixels of inset and padding; the Tk screenshots put the 11-pixel check box's
    // corner at (8, 5) and the radio dot's at (10, 5) for DejaVu Sans at 12 pixels.
    QTest::newRow("check box, 12 pixels") << true << 15 << 8 << QPoint(13, 10);
    QTest::newRow("radio button, 12 pixels") << false << 15 << 8 << QPoint(15, 10);
    // At 32 pixels the check box's corner was 23 pixels from the left.
    QTest::newRow("check box, 32 pixels") << true << 38 << 20 << QPoint(28, 10);
}

void tst_TkLayout::indicatorPlace()
{
    QFETCH(bool, check);
    QFETCH(int, lineSpacing);
    QFETCH(int, zeroWidth);
    QFETCH(QPoint, centre);
    const int space = tk::indicatorSpace(check, lineSpacing, zeroWidth);
    QCOMPARE(tk::indicatorCentre(3 + space, space, 20), centre);
}

QTEST_APPLESS_MAIN(tst_TkLayout)
#include "tst_tklayout.moc"
