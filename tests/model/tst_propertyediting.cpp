#include "design/designwindowids.h"
#include "model/propertydisplay.h"
#include "model/propertyediting.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/propertygrid/propertygridview.h"
#include "widgets/fontvalue.h"
#include "griddriving.h"
#include "support/placing.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <limits>

using model::ComponentKind;
using shell::ids::ComponentList;
using shell::ids::PropertyGrid;
using widgets::ControlRef;
using widgets::Prop;

namespace {

// What the user can see of the design: every widget's geometry, caption and font, the design
// window's geometry and caption, and the model's values.
struct DesignSnapshot
{
    QList<QRect> geometries;
    QStringList captions;
    QList<widgets::FontValue> fonts;
    QRect window;
    QSize client;
    QString title;
    int windowLeft = 0;
    int windowTop = 0;

    bool operator==(const DesignSnapshot &) const = default;
};

DesignSnapshot snapshot(const shell::Designer &designer)
{
    const widgets::WidgetLayer &layer = designer.layer;
    DesignSnapshot s;
    for (const model::Component &component : designer.model.components) {
        const ControlRef &w = component.widget;
        s.geometries.append(QRect(layer.readInteger(w, Prop::Left), layer.readInteger(w, Prop::Top),
                                  layer.readInteger(w, Prop::Width), layer.readInteger(w, Prop::Height)));
        const auto caption = model::captionProperty(component.kind);
        s.captions.append(caption ? layer.readText(w, *caption) : QString());
        s.fonts.append(layer.readProperty(w, *model::fontProperty(component.kind)).value<widgets::FontValue>());
    }
    const ControlRef window = design::ids::DesignWindow;
    s.window = QRect(layer.readInteger(window, Prop::Left), layer.readInteger(window, Prop::Top),
                     layer.readInteger(window, Prop::Width), layer.readInteger(window, Prop::Height));
    s.client = QSize(layer.clientWidth(window), layer.clientHeight(window));
    s.title = layer.readText(window, Prop::WindowTitle);
    s.windowLeft = designer.model.windowLeft;
    s.windowTop = designer.model.windowTop;
    return s;
}

QStringList gridTexts(const widgets::WidgetLayer &layer)
{
    QStringList texts;
    const int rows = layer.readInteger(PropertyGrid, Prop::GridRows);
    for (int row = 0; row < rows; ++row)
        texts << layer.cellText(PropertyGrid, row, 0) << layer.cellText(PropertyGrid, row, 1);
    return texts;
}

const QString Fallback = QStringLiteral("宋体");

// How an in-place edit is opened and ended.
enum class Gesture {
    F2ThenReturn,
    F2ThenTab,
    F2ThenEscape,
    DoubleClickThenReturn,
    TypingThenReturn,
    F2ThenClickOtherCell,
    F2ThenClickPanelButton,
};

} // namespace

class tst_PropertyEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void widgetRows_data();
    void widgetRows();
    void windowRows_data();
    void windowRows();
    void windowWidthAndHeightAtTheLimit();
    void unchangedEditChangesNothing_data();
    void unchangedEditChangesNothing();
    void gestures_data();
    void gestures();
    void tabCarriesTheEditToTheNextRow();
    void fontSizeZeroSurvivesTheRoundTrip();
    void hugeFontSizeLeavesAUsableDesign();
    void pendingEditGoesToTheComponentItWasTypedFor_data();
    void pendingEditGoesToTheComponentItWasTypedFor();
    void editAfterPanelRoundTripReachesTheShownLabel();
    void applyWithoutAnEditRewritesNothingVisible();
    void everyValueRowIsWrittenBack_data();
    void everyValueRowIsWrittenBack();
    void editsGoToWhatTheGridShows();

private:
    widgets::PropertyGridView *grid() const { return testing::propertyGrid(*m_designer); }
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_PropertyEditing::init()
{
    m_designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    m_designer->start();
    QWidget *window = m_designer->layer.widget(shell::ids::MainWindow);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Ending an edit by a click elsewhere is a change of keyboard focus, which needs an active window.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void tst_PropertyEditing::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

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
    QVERIFY(!testsupport::place(*m_designer, kind, 10, 10).isNull());
    // A second component of the same kind must stay untouched.
    QVERIFY(!testsupport::place(*m_designer, kind, 50, 60).isNull());
    model::selectListEntry(*m_designer, 1);
    const DesignSnapshot before = snapshot(*m_designer);

    const int gridRow = testing::rowOf(*m_designer, row);
    QVERIFY(gridRow > 1);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QVERIFY(testing::editRow(*m_designer, gridRow, typed));
    QCOMPARE(ended.count(), 1);

    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), model::classWord(kind) + "1");
    // The grid shows what the widget took.
    model::showProperties(*m_designer);
    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    const DesignSnapshot after = snapshot(*m_designer);
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
    const widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef window = design::ids::DesignWindow;
    const QPoint place(layer.readInteger(window, Prop::Left), layer.readInteger(window, Prop::Top));
    const QString titleBefore = layer.readText(window, Prop::WindowTitle);

    const int gridRow = testing::rowOf(*m_designer, row);
    QVERIFY(gridRow > 1);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QVERIFY(testing::editRow(*m_designer, gridRow, typed));
    QCOMPARE(ended.count(), 1);

    QCOMPARE(layer.cellText(PropertyGrid, gridRow, 1), shown);
    QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), client);
    QCOMPARE(m_designer->model.windowTop, windowTop);
    QCOMPARE(m_designer->model.windowLeft, windowLeft);
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
    const widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef window = design::ids::DesignWindow;
    const int frameWidth = layer.readInteger(window, Prop::Width) - layer.clientWidth(window);
    const int frameHeight = layer.readInteger(window, Prop::Height) - layer.clientHeight(window);
    QVERIFY(testing::editRow(*m_designer, 5, QStringLiteral("99999999999")));
    QVERIFY(testing::editRow(*m_designer, 6, QStringLiteral("40000")));
    QCOMPARE(layer.readInteger(window, Prop::Width), widgets::SizeLimit);
    QCOMPARE(layer.readInteger(window, Prop::Height), widgets::SizeLimit);
    QCOMPARE(layer.cellText(PropertyGrid, 5, 1), QString::number(widgets::SizeLimit - frameWidth));
    QCOMPARE(layer.cellText(PropertyGrid, 6, 1), QString::number(widgets::SizeLimit - frameHeight));
    // And back to a usual size.
    QVERIFY(testing::editRow(*m_designer, 5, QStringLiteral("320")));
    QVERIFY(testing::editRow(*m_designer, 6, QStringLiteral("240")));
    QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), QSize(320, 240));
}

void tst_PropertyEditing::unchangedEditChangesNothing_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("row");
    // Placed: 1 Label, 2 Entry, 3 Button, 4 RadioButton, 5 CheckButton; the Label's caption has a line break.
    QTest::newRow("window title") << 0 << "标题";
    QTest::newRow("window width") << 0 << "宽度";
    QTest::newRow("label caption with a line break") << 1 << "标题";
    QTest::newRow("label size") << 1 << "大小";
    QTest::newRow("entry face") << 2 << "字体";
    QTest::newRow("button top") << 3 << "顶边";
    QTest::newRow("radio button height") << 4 << "高度";
    QTest::newRow("check button size 0") << 5 << "大小";
}

void tst_PropertyEditing::unchangedEditChangesNothing()
{
    QFETCH(int, entry);
    QFETCH(QString, row);
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef label = testsupport::place(*m_designer, ComponentKind::Label, 5, 7);
    testsupport::place(*m_designer, ComponentKind::Entry, -20, 190);
    testsupport::place(*m_designer, ComponentKind::Button, 100, 20);
    testsupport::place(*m_designer, ComponentKind::RadioButton, 290, 190);
    const ControlRef check = testsupport::place(*m_designer, ComponentKind::CheckButton, 8, 150);
    layer.writeProperty(label, Prop::LabelText, QStringLiteral("第一行\r\n第二行"));
    layer.writeProperty(check, Prop::CheckFont, 0, int(widgets::FontMember::Size));
    layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, QStringLiteral("标题 [*] & 😀"));
    model::selectListEntry(*m_designer, entry);

    const DesignSnapshot before = snapshot(*m_designer);
    const QStringList shownBefore = gridTexts(layer);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QLineEdit *editor = testing::openWithF2(grid(), testing::rowOf(*m_designer, row));
    QVERIFY(editor);
    testing::pressInEditor(editor, Qt::Key_Return);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(snapshot(*m_designer), before);
    QCOMPARE(gridTexts(layer), shownBefore);
}

void tst_PropertyEditing::gestures_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QString>("shown");
    QTest::newRow("F2, Return") << Gesture::F2ThenReturn << "150";
    QTest::newRow("F2, Tab") << Gesture::F2ThenTab << "150";
    QTest::newRow("F2, Escape keeps the old text") << Gesture::F2ThenEscape << "120";
    QTest::newRow("double-click, Return") << Gesture::DoubleClickThenReturn << "150";
    QTest::newRow("typing into the selected cell, Return") << Gesture::TypingThenReturn << "150";
    QTest::newRow("F2, click on another cell") << Gesture::F2ThenClickOtherCell << "150";
    QTest::newRow("F2, click on a panel button") << Gesture::F2ThenClickPanelButton << "150";
}

// Width of a Label, 120 at first; the user types 150 and ends the edit in one of the usual ways.
void tst_PropertyEditing::gestures()
{
    QFETCH(Gesture, gesture);
    QFETCH(QString, shown);
    const ControlRef label = testsupport::place(*m_designer, ComponentKind::Label);
    widgets::PropertyGridView *view = grid();
    const int row = testing::rowOf(*m_designer, QStringLiteral("宽度"));
    QSignalSpy ended(view, &widgets::PropertyGridView::editEnded);

    QLineEdit *editor = nullptr;
    switch (gesture) {
    case Gesture::DoubleClickThenReturn:
        view->setFocus();
        testing::doubleClickValueCell(view, row);
        editor = qobject_cast<QLineEdit *>(view->openEditor());
        QVERIFY(editor);
        testing::replaceText(editor, QStringLiteral("150"));
        break;
    case Gesture::TypingThenReturn:
        view->setFocus();
        view->setCurrentCell(row - 1, 0);
        // The first key opens the editor and replaces the old text; the rest go to the editor.
        QTest::keyClick(view, '1');
        editor = qobject_cast<QLineEdit *>(view->openEditor());
        QVERIFY(editor);
        QTest::keyClicks(editor, "50");
        QCOMPARE(editor->text(), QStringLiteral("150"));
        break;
    default:
        editor = testing::openWithF2(view, row);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("120"));
        testing::replaceText(editor, QStringLiteral("150"));
        break;
    }
    QCOMPARE(ended.count(), 0);

    switch (gesture) {
    case Gesture::F2ThenTab: testing::pressInEditor(editor, Qt::Key_Tab); break;
    case Gesture::F2ThenEscape: testing::pressInEditor(editor, Qt::Key_Escape); break;
    case Gesture::F2ThenClickOtherCell:
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, testing::valueCellCentre(view, 3));
        break;
    case Gesture::F2ThenClickPanelButton:
        QTest::mouseClick(m_designer->layer.widget(shell::ids::WindowPanelButton), Qt::LeftButton);
        break;
    default: testing::pressInEditor(editor, Qt::Key_Return); break;
    }
    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_designer->layer.cellText(PropertyGrid, row, 1), shown);
    QCOMPARE(QString::number(m_designer->layer.readInteger(label, Prop::Width)), shown);
    // Another edit can start afterwards.
    if (gesture != Gesture::F2ThenTab) {
        QVERIFY(testing::editRow(*m_designer, row, QStringLiteral("77")));
        QCOMPARE(m_designer->layer.readInteger(label, Prop::Width), 77);
        QCOMPARE(ended.count(), 2);
    }
}

void tst_PropertyEditing::tabCarriesTheEditToTheNextRow()
{
    const ControlRef button = testsupport::place(*m_designer, ComponentKind::Button);
    widgets::PropertyGridView *view = grid();
    QSignalSpy ended(view, &widgets::PropertyGridView::editEnded);
    const int widthRow = testing::rowOf(*m_designer, QStringLiteral("宽度"));
    QLineEdit *editor = testing::openWithF2(view, widthRow);
    QVERIFY(editor);
    testing::replaceText(editor, QStringLiteral("150"));
    testing::pressInEditor(editor, Qt::Key_Tab);
    QCOMPARE(ended.count(), 1);

    // The height is open now, with its own text.
    editor = qobject_cast<QLineEdit *>(view->openEditor());
    QVERIFY(editor);
    QCOMPARE(view->currentRow() + 1, widthRow + 1);
    QCOMPARE(editor->text(), QStringLiteral("32"));
    testing::replaceText(editor, QStringLiteral("45"));
    testing::pressInEditor(editor, Qt::Key_Return);
    QCOMPARE(ended.count(), 2);
    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(QSize(layer.readInteger(button, Prop::Width), layer.readInteger(button, Prop::Height)), QSize(150, 45));
}

// The widget layer keeps a height of 0 although Qt cannot draw a font that small.
void tst_PropertyEditing::fontSizeZeroSurvivesTheRoundTrip()
{
    const ControlRef label = testsupport::place(*m_designer, ComponentKind::Label);
    const int sizeRow = testing::rowOf(*m_designer, QStringLiteral("大小"));
    for (const QString &typed : {QStringLiteral("0"), QStringLiteral("-3")}) {
        QVERIFY(testing::editRow(*m_designer, sizeRow, typed));
        QCOMPARE(m_designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("0"));
        QCOMPARE(m_designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, 0);
        // Another row's edit writes the 0 back and keeps it.
        QVERIFY(testing::editRow(*m_designer, testing::rowOf(*m_designer, QStringLiteral("宽度")), "99"));
        QCOMPARE(m_designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("0"));
        QCOMPARE(m_designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, 0);
        QVERIFY(testing::editRow(*m_designer, sizeRow, QStringLiteral("9")));
        QCOMPARE(m_designer->layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>().height, -12);
    }
}

// No size the user types may break the design: the grid shows a size again and other edits work.
void tst_PropertyEditing::hugeFontSizeLeavesAUsableDesign()
{
    const ControlRef button = testsupport::place(*m_designer, ComponentKind::Button);
    const int sizeRow = testing::rowOf(*m_designer, QStringLiteral("大小"));
    // Past what Tk can draw on the screen (1,125 points at 96 dots per inch), the largest it can is taken.
    QVERIFY(testing::editRow(*m_designer, sizeRow, QStringLiteral("99999")));
    QCOMPARE(m_designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("1125"));
    // Too many digits for an int stop at 2,147,483,647, and that too is past the largest size.
    QVERIFY(testing::editRow(*m_designer, sizeRow, QStringLiteral("99999999999")));
    QCOMPARE(m_designer->layer.cellText(PropertyGrid, sizeRow, 1), QStringLiteral("1125"));
    QVERIFY(testing::editRow(*m_designer, testing::rowOf(*m_designer, QStringLiteral("标题")), QStringLiteral("好")));
    QCOMPARE(m_designer->layer.readText(button, Prop::ButtonCaption), QStringLiteral("好"));
}

void tst_PropertyEditing::pendingEditGoesToTheComponentItWasTypedFor_data()
{
    QTest::addColumn<int>("chosenMeanwhile");
    QTest::addColumn<QString>("shownClass");
    // Placed: 1 Label, 2 Label, 3 Entry. The width of Label1 is being typed.
    QTest::newRow("another label is clicked") << 2 << "Label2";
    QTest::newRow("an entry is clicked") << 3 << "Entry3";
    QTest::newRow("the empty design window is clicked") << 0 << "Window";
    QTest::newRow("the same label is clicked") << 1 << "Label1";
}

// The design surface changes the selection from code while the grid's editor may still be open
// (a press on a label takes no keyboard focus). What was typed goes to the component it was typed
// for, and nowhere else.
void tst_PropertyEditing::pendingEditGoesToTheComponentItWasTypedFor()
{
    QFETCH(int, chosenMeanwhile);
    QFETCH(QString, shownClass);
    const widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef first = testsupport::place(*m_designer, ComponentKind::Label);
    const ControlRef second = testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    model::selectListEntry(*m_designer, 1);
    const DesignSnapshot before = snapshot(*m_designer);

    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QLineEdit *editor = testing::openWithF2(grid(), testing::rowOf(*m_designer, QStringLiteral("宽度")));
    QVERIFY(editor);
    testing::replaceText(editor, QStringLiteral("150"));
    model::selectListEntry(*m_designer, chosenMeanwhile);

    QCOMPARE(ended.count(), 1);
    QVERIFY(!grid()->openEditor());
    QCOMPARE(layer.readInteger(first, Prop::Width), 150);
    QCOMPARE(layer.readInteger(second, Prop::Width), 120);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), shownClass);
    DesignSnapshot after = snapshot(*m_designer);
    after.geometries[0].setWidth(120);
    QCOMPARE(after, before);
}

// The code panel's generator must not change which Label the grid edits.
void tst_PropertyEditing::editAfterPanelRoundTripReachesTheShownLabel()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef first = testsupport::place(*m_designer, ComponentKind::Label);
    const ControlRef second = testsupport::place(*m_designer, ComponentKind::Label);
    model::selectListEntry(*m_designer, 1);
    QTest::mouseClick(layer.widget(shell::ids::CodePanelButton), Qt::LeftButton);
    QTest::mouseClick(layer.widget(shell::ids::WindowPanelButton), Qt::LeftButton);
    QVERIFY(testing::editRow(*m_designer, 2, QStringLiteral("第一个")));
    QCOMPARE(layer.readText(first, Prop::LabelText), QStringLiteral("第一个"));
    QCOMPARE(layer.readText(second, Prop::LabelText), QStringLiteral("标签"));
}

// applyPropertyEdits does not ask which cell changed; called with nothing edited it must leave
// everything as it is, for the window and every kind.
void tst_PropertyEditing::applyWithoutAnEditRewritesNothingVisible()
{
    for (ComponentKind kind : model::WidgetKinds)
        testsupport::place(*m_designer, kind, 33, 44);
    for (int entry = 0; entry <= 5; ++entry) {
        model::selectListEntry(*m_designer, entry);
        const DesignSnapshot before = snapshot(*m_designer);
        const QStringList shown = gridTexts(m_designer->layer);
        model::applyPropertyEdits(*m_designer);
        model::applyPropertyEdits(*m_designer);
        QCOMPARE(snapshot(*m_designer), before);
        QCOMPARE(gridTexts(m_designer->layer), shown);
    }
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
    widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    model::selectListEntry(*m_designer, entry);
    for (int i = 0; i < typed.size(); ++i)
        layer.setCellText(PropertyGrid, i + 2, 1, typed[i]);
    model::applyPropertyEdits(*m_designer);
    for (int i = 0; i < shown.size(); ++i)
        QCOMPARE(layer.cellText(PropertyGrid, i + 2, 1), shown[i]);
    if (entry == 0) {
        const ControlRef window = design::ids::DesignWindow;
        QCOMPARE(QSize(layer.clientWidth(window), layer.clientHeight(window)), QSize(350, 260));
        QCOMPARE(layer.readText(window, Prop::WindowTitle), QStringLiteral("新窗口"));
    }
}

// The list's selection may be set from code without a display; the values still go to what the
// grid shows, never into the window or another component.
void tst_PropertyEditing::editsGoToWhatTheGridShows()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef label = testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Button);
    model::selectListEntry(*m_designer, 1);
    const DesignSnapshot before = snapshot(*m_designer);
    for (int selected : {0, 2}) {
        layer.writeProperty(ComponentList, Prop::ListSelection, selected);
        layer.setCellText(PropertyGrid, 3, 1, QString::number(60 + selected));
        model::applyPropertyEdits(*m_designer);
        QCOMPARE(layer.readInteger(label, Prop::Top), 60 + selected);
        model::selectListEntry(*m_designer, 1);
    }
    layer.writeProperty(ComponentList, Prop::ListSelection, 0);
    QVERIFY(testing::editRow(*m_designer, 3, QStringLiteral("55")));
    QCOMPARE(layer.readInteger(label, Prop::Top), 55);
    DesignSnapshot after = snapshot(*m_designer);
    after.geometries[0].moveTop(before.geometries[0].top());
    QCOMPARE(after, before);
}

QTEST_MAIN(tst_PropertyEditing)
#include "tst_propertyediting.moc"
