#include "design/designwindowids.h"
#include "model/propertydisplay.h"
#include "model/propertyediting.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/propertygrid/propertygridview.h"
#include "widgets/fontvalue.h"
#include "designsnapshot.h"
#include "griddriving.h"
#include "support/placing.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <limits>

using model::ComponentKind;
using testing::DesignSnapshot;
using testing::snapshot;
using shell::ids::ComponentList;
using shell::ids::PropertyGrid;
using widgets::ControlRef;
using widgets::Prop;

namespace {

const QString Fallback = QStringLiteral("宋体");

} // namespace

class tst_PropertyEditing : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_active.start()); }
    void cleanup() { QVERIFY(m_active.stop()); }

    void widgetRows_data();
    void widgetRows();
    void windowRows_data();
    void windowRows();
    void windowWidthAndHeightAtTheLimit();
    void fontSizeZeroSurvivesTheRoundTrip();
    void hugeFontSizeLeavesAUsableDesign();
    void everyValueRowIsWrittenBack_data();
    void everyValueRowIsWrittenBack();

private:
    widgets::PropertyGridView *grid() const { return m_active.grid(); }
    testing::ActiveDesigner m_active;
};

void tst_PropertyEditing::widgetRows_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    const auto B = ComponentKind::Button;
    const auto L = ComponentKind::Label;
    const auto E = ComponentKind::Entry;
    const auto R = ComponentKind::RadioButton;
    const auto C = ComponentKind::CheckButton;
    QTest::newRow("letters into width give 0") << B << "宽度" << "abc" << "0";
    QTest::newRow("top beyond the limit stops at 32627") << L << "顶边" << "99999" << "32627";
    QTest::newRow("full-width digits into width") << B << "宽度" << "１２０" << "120";
    QTest::newRow("full-width minus into left") << R << "左边" << "－５" << "-5";
    QTest::newRow("negative height of an entry gives 0") << E << "高度" << "-20" << "0";
    QTest::newRow("left below the limit stops at -32627") << C << "左边" << "-99999" << "-32627";
    QTest::newRow("digits before a unit") << L << "宽度" << "12px" << "12";
    QTest::newRow("leading blanks and a plus") << E << "顶边" << "  +7" << "7";
    QTest::newRow("ideographic space before digits") << B << "高度" << "\u3000" "45" << "45";
    QTest::newRow("empty width gives 0") << L << "宽度" << "" << "0";
    QTest::newRow("a minus sign alone gives 0") << B << "左边" << "-" << "0";
    QTest::newRow("a plus sign alone gives 0") << E << "宽度" << "+" << "0";
    QTest::newRow("beyond 32 bits stops at the limit") << R << "宽度" << "99999999999" << "32627";
    QTest::newRow("below 32 bits stops at the limit") << L << "顶边" << "-99999999999" << "-32627";
    QTest::newRow("one past 32 bits") << C << "左边" << "2147483648" << "32627";
    QTest::newRow("100,000 digits into width") << E << "宽度" << QString(100000, QLatin1Char('9')) << "32627";
    QTest::newRow("control characters into top") << L << "顶边" << "\x01\x02" "5" << "0";

    QTest::newRow("caption as typed") << L << "标题" << "你好 Tk" << "你好 Tk";
    QTest::newRow("empty caption") << B << "标题" << "" << "";
    QTest::newRow("caption with emoji") << C << "标题" << "😀✓𠀀" << "😀✓𠀀";
    QTest::newRow("caption with control characters") << R << "标题" << "a\tb\x01\x1f\x7f" << "a\tb\x01\x1f\x7f";
    QTest::newRow("caption with a line break") << L << "标题" << "一\r\n二" << "一\r\n二";
    QTest::newRow("caption of 100,000 characters") << B << "标题" << QString(100000, QChar(0x6C49))
                                                    << QString(100000, QChar(0x6C49));

    QTest::newRow("face as typed") << L << "字体" << "Arial" << "Arial";
    QTest::newRow("empty face gives the fallback") << E << "字体" << "" << Fallback;
    QTest::newRow("face of 31 bytes is kept") << B << "字体" << QString(31, QLatin1Char('f'))
                                              << QString(31, QLatin1Char('f'));
    QTest::newRow("face of 32 bytes gives the fallback") << B << "字体" << QString(32, QLatin1Char('f')) << Fallback;
    QTest::newRow("15 Chinese and one letter are 31 bytes")
        << R << "字体" << QString(15, QChar(0x5B8B)) + "a" << QString(15, QChar(0x5B8B)) + "a";
    QTest::newRow("16 Chinese are 32 bytes") << C << "字体" << QString(16, QChar(0x5B8B)) << Fallback;
    QTest::newRow("face of 100,000 characters") << L << "字体" << QString(100000, QLatin1Char('x')) << Fallback;
    QTest::newRow("8 emoji are 32 bytes") << E << "字体" << QString("😀").repeated(8) << Fallback;

    QTest::newRow("size as typed") << L << "大小" << "12" << "12";
    QTest::newRow("size 0 shows 0") << B << "大小" << "0" << "0";
    QTest::newRow("negative size shows 0") << E << "大小" << "-3" << "0";
    QTest::newRow("full-width size") << R << "大小" << "１４" << "14";
    QTest::newRow("letters into size give 0") << C << "大小" << "big" << "0";
    QTest::newRow("a minus sign alone into size") << L << "大小" << "-" << "0";
}

void tst_PropertyEditing::widgetRows()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QString, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QVERIFY(!testsupport::place(*m_active.designer, kind, 10, 10).isNull());
    // A second component of the same kind must stay untouched.
    QVERIFY(!testsupport::place(*m_active.designer, kind, 50, 60).isNull());
    model::selectListEntry(*m_active.designer, 1);
    const DesignSnapshot before = snapshot(*m_active.designer);

    const int gridRow = testing::rowOf(*m_active.designer, row);
    QVERIFY(gridRow > 1);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QVERIFY(testing::editRow(*m_active.designer, gridRow, typed));
    QCOMPARE(ended.count(), 1);

    const widgets::WidgetLayer &layer = m_active.designer->layer;
    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), model::classWord(kind) + "1");
    // The grid shows what the widget took.
    model::showProperties(*m_active.designer);
    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    const DesignSnapshot after = snapshot(*m_active.designer);
    QCOMPARE(after.geometries[1], before.geometries[1]);
    QCOMPARE(after.captions[1], before.captions[1]);
    QCOMPARE(after.fonts[1], before.fonts[1]);
    QCOMPARE(after.window, before.window);
    QCOMPARE(after.title, before.title);
}

void tst_PropertyEditing::windowRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("windowTop");
    QTest::addColumn<int>("windowLeft");
    QTest::newRow("width 400") << "宽度" << "400" << "400" << QSize(400, 200) << 100 << 100;
    QTest::newRow("height in full-width digits") << "高度" << "２５０" << "250" << QSize(300, 250) << 100 << 100;
    QTest::newRow("width 1") << "宽度" << "1" << "1" << QSize(1, 200) << 100 << 100;
    // Tk makes a window asked to be 0 wide or high one pixel so: the design window does too.
    QTest::newRow("width 0 gives Tk's 1") << "宽度" << "0" << "1" << QSize(1, 200) << 100 << 100;
    QTest::newRow("letters into height give Tk's 1") << "高度" << "abc" << "1" << QSize(300, 1) << 100 << 100;
    QTest::newRow("negative width gives Tk's 1") << "宽度" << "-50" << "1" << QSize(1, 200) << 100 << 100;
    QTest::newRow("top changes the model only") << "顶边" << "250" << "250" << QSize(300, 200) << 250 << 100;
    QTest::newRow("left changes the model only") << "左边" << "-7" << "-7" << QSize(300, 200) << 100 << -7;
    // The generated window's position has the window system's limits, as a widget's has.
    QTest::newRow("top beyond the limit stops at 32627") << "顶边" << "99999" << "32627" << QSize(300, 200) << 32627
                                                         << 100;
    QTest::newRow("left beyond 32 bits stops at the limit") << "左边" << "99999999999" << "32627" << QSize(300, 200)
                                                            << 100 << 32627;
    QTest::newRow("left below the limit stops at -32627") << "左边" << "-40000" << "-32627" << QSize(300, 200) << 100
                                                          << -32627;
    QTest::newRow("a sign alone into top") << "顶边" << "-" << "0" << QSize(300, 200) << 0 << 100;
    QTest::newRow("title") << "标题" << "我的窗口" << "我的窗口" << QSize(300, 200) << 100 << 100;
    QTest::newRow("title of 100,000 characters") << "标题" << QString(100000, QLatin1Char('T'))
                                                 << QString(100000, QLatin1Char('T')) << QSize(300, 200) << 100 << 100;
    QTest::newRow("title with emoji and controls") << "标题" << "😀\t\x01" << "😀\t\x01" << QSize(300, 200) << 100 << 100;
}

void tst_PropertyEditing::windowRows()
{
    QFETCH(QString, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QSize, client);
    QFETCH(int, windowTop);
    QFETCH(int, windowLeft);
    const widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef window = design::ids::DesignWindow;
    const QPoint place(layer.readInteger(window, Prop::Left), layer.readInteger(window, Prop::Top));
    const QString titleBefore = layer.readText(window, Prop::WindowTitle);

    const int gridRow = testing::rowOf(*m_active.designer, row);
    QVERIFY(gridRow > 1);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QVERIFY(testing::editRow(*m_active.designer, gridRow, typed));
    QCOMPARE(ended.count(), 1);

    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), client);
    QCOMPARE(m_active.designer->model.windowTop, windowTop);
    QCOMPARE(m_active.designer->model.windowLeft, windowLeft);
    // Neither top nor left moves the design window on the screen.
    QCOMPARE(QPoint(layer.readInteger(window, Prop::Left), layer.readInteger(window, Prop::Top)), place);
    QCOMPARE(layer.readText(window, Prop::WindowTitle), row == QStringLiteral("标题") ? shown : titleBefore);
    QCOMPARE(layer.cellText(PropertyGrid, 5, 1), QString::number(client.width()));
    QCOMPARE(layer.cellText(PropertyGrid, 6, 1), QString::number(client.height()));
}

// The outer size is typed + frame; the widget layer stops it at 32627, so the client area is what
// is left of that inside the frame.
void tst_PropertyEditing::windowWidthAndHeightAtTheLimit()
{
    const widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef window = design::ids::DesignWindow;
    const int frameWidth = layer.readInteger(window, Prop::Width) - layer.clientWidth(window);
    const int frameHeight = layer.readInteger(window, Prop::Height) - layer.clientHeight(window);
    QVERIFY(testing::editRow(*m_active.designer, 5, QStringLiteral("99999999999")));
    QVERIFY(testing::editRow(*m_active.designer, 6, QStringLiteral("40000")));
    QCOMPARE(layer.readInteger(window, Prop::Width), widgets::SizeLimit);
    QCOMPARE(layer.readInteger(window, Prop::Height), widgets::SizeLimit);
    QCOMPARE(layer.cellText(PropertyGrid, 5, 1), QString::number(widgets::SizeLimit - frameWidth));
    QCOMPARE(layer.cellText(PropertyGrid, 6, 1), QString::number(widgets::SizeLimit - frameHeight));
    // And back to a usual size.
    QVERIFY(testing::editRow(*m_active.designer, 5, QStringLiteral("320")));
    QVERIFY(testing::editRow(*m_active.designer, 6, QStringLiteral("240")));
    QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), QSize(320, 240));
}

// The widget layer keeps a height of 0 although Qt cannot draw a font that small.
void tst_PropertyEditing::fontSizeZeroSurvivesTheRoundTrip()
{
    const ControlRef label = testsupport::place(*m_active.designer, ComponentKind::Label);
    const int sizeRow = testing::rowOf(*m_active.designer, QStringLiteral("大小"));
    for (const QString &typed : {QStringLiteral("0"), QStringLiteral("-3")}) {
        QVERIFY(testing::editRow(*m_active.designer, sizeRow, typed));
        QCOMPARE(m_active.designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("0"));
        QCOMPARE(m_active.designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, 0);
        // Another row's edit writes the 0 back and keeps it.
        QVERIFY(testing::editRow(*m_active.designer, testing::rowOf(*m_active.designer, QStringLiteral("宽度")), "99"));
        QCOMPARE(m_active.designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("0"));
        QCOMPARE(m_active.designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, 0);
        QVERIFY(testing::editRow(*m_active.designer, sizeRow, QStringLiteral("9")));
        QCOMPARE(m_active.designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, -12);
    }
}

// No size the user types may break the design: the grid shows a size again and other edits work.
void tst_PropertyEditing::hugeFontSizeLeavesAUsableDesign()
{
    const ControlRef button = testsupport::place(*m_active.designer, ComponentKind::Button);
    const int sizeRow = testing::rowOf(*m_active.designer, QStringLiteral("大小"));
    // Past what Tk can draw on the screen (1,125 points at 96 dots per inch), the largest it can is taken.
    QVERIFY(testing::editRow(*m_active.designer, sizeRow, QStringLiteral("99999")));
    QCOMPARE(m_active.designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("1125"));
    // Too many digits for an int stop at 2,147,483,647, and that too is past the largest size.
    QVERIFY(testing::editRow(*m_active.designer, sizeRow, QStringLiteral("99999999999")));
    QCOMPARE(m_active.designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("1125"));
    QVERIFY(testing::editRow(*m_active.designer, testing::rowOf(*m_active.designer, QStringLiteral("标题")), QStringLiteral("好")));
    QCOMPARE(m_active.designer->layer.readText(button, Prop::ButtonCaption), QStringLiteral("好"));
}

void tst_PropertyEditing::everyValueRowIsWrittenBack_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("shown");
    // Placed: 1 Label, 2 Entry. Rows from 2 down; several cells changed before one end of an edit.
    QTest::newRow("window: title, top, left, width and height")
        << 0 << QStringList{"新窗口", "7", "8", "350", "260"} << QStringList{"新窗口", "7", "8", "350", "260"};
    QTest::newRow("label: every row")
        << 1 << QStringList{"文字", "-4", "6", "70", "abc", "Arial", "-1"}
        << QStringList{"文字", "-4", "6", "70", "0", "Arial", "0"};
    QTest::newRow("entry: every row")
        << 2 << QStringList{"１１", "12", "99999", "30", "", "14"}
        << QStringList{"11", "12", "32627", "30", "宋体", "14"};
}

// applyPropertyEdits does not ask which cell changed: it writes them all. Writing the design
// window's width redisplays the grid at once, and the height typed below must still arrive.
void tst_PropertyEditing::everyValueRowIsWrittenBack()
{
    QFETCH(int, entry);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    widgets::WidgetLayer &layer = m_active.designer->layer;
    testsupport::place(*m_active.designer, ComponentKind::Label);
    testsupport::place(*m_active.designer, ComponentKind::Entry);
    model::selectListEntry(*m_active.designer, entry);
    for (int i = 0; i < typed.size(); ++i)
        layer.setCellText(PropertyGrid, i + 2, 1, typed[i]);
    model::applyPropertyEdits(*m_active.designer);
    for (int i = 0; i < shown.size(); ++i)
        QCOMPARE(layer.cellText(PropertyGrid, i + 2, 1), shown[i]);
    if (entry == 0) {
        const ControlRef window = design::ids::DesignWindow;
        QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), QSize(350, 260));
        QCOMPARE(layer.readText(window, Prop::WindowTitle), QStringLiteral("新窗口"));
    }
}

QTEST_MAIN(tst_PropertyEditing)
#include "tst_propertyediting.moc"
