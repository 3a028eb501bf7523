#include "design/designtesting.h"
#include "design/placement.h"
#include "widgets/inputdevice/inputdevicecontrol.h"
#include "widgets/inputdevice/inputdevicemonitor.h"

#include <QAbstractButton>
#include <QLineEdit>

using namespace designtesting;
using model::ComponentKind;
using widgets::ControlType;
using widgets::FontMember;

Q_DECLARE_METATYPE(model::ComponentKind)
Q_DECLARE_METATYPE(widgets::ControlType)
Q_DECLARE_METATYPE(widgets::Prop)

namespace {

widgets::InputDeviceMonitor *pointerDevice(const shell::Designer &designer)
{
    return static_cast<widgets::InputDeviceControl *>(designer.layer.control(shell::ids::InputDevice))->monitor();
}

} // namespace

class tst_Placement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void placesEachKind_data();
    void placesEachKind();
    void buttonAt40x30();
    void twoLabelsInARow();
    void numbersRunAcrossKinds();
    void pointerPressSelectsWindow_data();
    void pointerPressSelectsWindow();
    void pressOnWidgetKeepsKind();
    void pressNearCornerLeavesTenByTenVisible();
    void placingPressDoesNotDragNewWidget();
    void templatesUnchangedByPlacing();
    void paletteDragArmsWhatWasPressed_data();
    void paletteDragArmsWhatWasPressed();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_Placement::init()
{
    m_designer = startDesigner();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
}

void tst_Placement::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Placement::placesEachKind_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<ControlType>("type");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Prop>("textProperty");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Prop>("fontProperty");
    QTest::addColumn<QString>("entry");
    // Where the design window places its widgets from, and where the press at (70, 45) places one.
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<QPoint>("placedAt");
    QTest::newRow("label") << int(LabelRow) << ComponentKind::Label << ControlType::Label << QSize(120, 20)
                           << Prop::LabelText << QStringLiteral("标签") << Prop::LabelFont << QStringLiteral("1.标签")
                           << QPoint() << QPoint(70, 45);
    QTest::newRow("entry") << int(EntryRow) << ComponentKind::Entry << ControlType::EntryField << QSize(120, 20)
                           << Prop::EntryText << QString() << Prop::EntryFont << QStringLiteral("1.编辑框")
                           << QPoint() << QPoint(70, 45);
    QTest::newRow("button") << int(ButtonRow) << ComponentKind::Button << ControlType::PushButton << QSize(88, 32)
                            << Prop::ButtonCaption << QStringLiteral("按钮") << Prop::ButtonFont
                            << QStringLiteral("1.按钮") << QPoint() << QPoint(70, 45);
    QTest::newRow("radio button") << int(RadioButtonRow) << ComponentKind::RadioButton << ControlType::RadioButton
                                  << QSize(120, 20) << Prop::CheckCaption << QStringLiteral("单选框")
                                  << Prop::CheckFont << QStringLiteral("1.单选框") << QPoint() << QPoint(70, 45);
    QTest::newRow("check button") << int(CheckButtonRow) << ComponentKind::CheckButton << ControlType::CheckBox
                                  << QSize(120, 20) << Prop::CheckCaption << QStringLiteral("复选框")
                                  << Prop::CheckFont << QStringLiteral("1.复选框") << QPoint() << QPoint(70, 45);
    QTest::newRow("button inside a border") << int(ButtonRow) << ComponentKind::Button << ControlType::PushButton
                                            << QSize(88, 32) << Prop::ButtonCaption << QStringLiteral("按钮")
                                            << Prop::ButtonFont << QStringLiteral("1.按钮") << QPoint(9, 10) << QPoint(61, 35);
    QTest::newRow("entry with an origin past 16 bits") << int(EntryRow) << ComponentKind::Entry << ControlType::EntryField
                                                       << QSize(120, 20) << Prop::EntryText << QString() << Prop::EntryFont
                                                       << QStringLiteral("1.编辑框") << QPoint(65538, 2) << QPoint(68, 43);
}

void tst_Placement::placesEachKind()
{
    QFETCH(int, row);
    QFETCH(ComponentKind, kind);
    QFETCH(ControlType, type);
    QFETCH(QSize, size);
    QFETCH(Prop, textProperty);
    QFETCH(QString, text);
    QFETCH(Prop, fontProperty);
    QFETCH(QString, entry);
    QFETCH(QPoint, origin);
    QFETCH(QPoint, placedAt);
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.setChildOrigin(design::ids::DesignWindow, origin);

    choose(*m_designer, row);
    QCOMPARE(paletteItem(*m_designer), row);
    clickDesignWindow(*m_designer, QPoint(70, 45));

    QCOMPARE(m_designer->model.lastNumber, 1);
    const model::Component *made = m_designer->model.componentByNumber(1);
    QVERIFY(made);
    QCOMPARE(made->kind, kind);
    QCOMPARE(made->widget.type, type);
    QCOMPARE(rectOf(layer, made->widget), QRect(placedAt, size));
    // Its top-left corner under the pointer.
    QCOMPARE(layer.widget(made->widget)->pos(), QPoint(70, 45));
    QVERIFY(layer.readBoolean(made->widget, Prop::Visible));
    QVERIFY(!layer.readBoolean(made->widget, Prop::Disabled));
    QCOMPARE(layer.readText(made->widget, Prop::Tag), QStringLiteral("1"));
    QCOMPARE(layer.readText(made->widget, textProperty), text);
    QCOMPARE(layer.readText(made->widget, fontProperty, int(FontMember::Face)), QStringLiteral("微软雅黑"));
    QCOMPARE(layer.readInteger(made->widget, fontProperty, int(FontMember::Size)), 9);
    QCOMPARE(layer.widget(made->widget)->parentWidget(), designClient(*m_designer));

    QCOMPARE(layer.listCount(shell::ids::ComponentList), 2);
    QCOMPARE(layer.listItemText(shell::ids::ComponentList, 1), entry);
    QCOMPARE(selectedEntry(*m_designer), 1);
    QCOMPARE(paletteItem(*m_designer), int(Pointer));
}

void tst_Placement::buttonAt40x30()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef button = place(*m_designer, ButtonRow, QPoint(40, 30));
    QVERIFY(!button.isNull());
    QCOMPARE(rectOf(layer, button), QRect(40, 30, 88, 32));
    QCOMPARE(layer.widget(button)->mapTo(designClient(*m_designer), QPoint(0, 0)), QPoint(40, 30));
    QCOMPARE(static_cast<QAbstractButton *>(layer.widget(button))->text(), QStringLiteral("按钮"));
    QCOMPARE(layer.listItemText(shell::ids::ComponentList, 1), QStringLiteral("1.按钮"));
    QCOMPARE(selectedEntry(*m_designer), 1);
    QCOMPARE(paletteItem(*m_designer), int(Pointer));
    QVERIFY2(m_designer->model.shownHandles.contains(layer.nativeHandle(button)),
             "showing the new component must make its widget draggable");
}

void tst_Placement::twoLabelsInARow()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef first = place(*m_designer, LabelRow, QPoint(10, 10));
    const ControlRef second = place(*m_designer, LabelRow, QPoint(10, 60));
    QVERIFY(!first.isNull() && !second.isNull());
    QVERIFY(first != second);
    QCOMPARE(rectOf(layer, first), QRect(10, 10, 120, 20));
    QCOMPARE(rectOf(layer, second), QRect(10, 60, 120, 20));
    QCOMPARE(layer.listItemText(shell::ids::ComponentList, 1), QStringLiteral("1.标签"));
    QCOMPARE(layer.listItemText(shell::ids::ComponentList, 2), QStringLiteral("2.标签"));
    QCOMPARE(m_designer->model.numbersOfKind(ComponentKind::Label), QList<int>({1, 2}));
    QCOMPARE(selectedEntry(*m_designer), 2);

    // A second press without choosing again selects the window and places nothing.
    clickDesignWindow(*m_designer, QPoint(200, 150));
    QCOMPARE(m_designer->model.lastNumber, 2);
    QCOMPARE(selectedEntry(*m_designer), 0);
}

void tst_Placement::numbersRunAcrossKinds()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const int rows[] = {ButtonRow, LabelRow, CheckButtonRow, EntryRow, RadioButtonRow, ButtonRow};
    const char *entries[] = {"1.按钮", "2.标签", "3.复选框", "4.编辑框", "5.单选框", "6.按钮"};
    for (int i = 0; i < 6; ++i)
        place(*m_designer, rows[i], QPoint(5 + 40 * i, 5 + 30 * i));
    QCOMPARE(layer.listCount(shell::ids::ComponentList), 7);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(layer.listItemText(shell::ids::ComponentList, i + 1), QString::fromUtf8(entries[i]));
        QCOMPARE(layer.readText(m_designer->model.componentByNumber(i + 1)->widget, Prop::Tag), QString::number(i + 1));
    }
    QCOMPARE(selectedEntry(*m_designer), 6);
}

void tst_Placement::pointerPressSelectsWindow_data()
{
    QTest::addColumn<int>("item");
    QTest::newRow("pointer") << 0;
    QTest::newRow("no item") << -1;
    QTest::newRow("one past the kinds") << 6;
    QTest::newRow("beyond 32 bits' sign") << std::numeric_limits<int>::min();
    QTest::newRow("largest") << std::numeric_limits<int>::max();
}

void tst_Placement::pointerPressSelectsWindow()
{
    QFETCH(int, item);
    widgets::WidgetLayer &layer = m_designer->layer;
    place(*m_designer, LabelRow, QPoint(10, 10));
    QCOMPARE(selectedEntry(*m_designer), 1);
    layer.writeProperty(shell::ids::Palette, Prop::MenuCurrentItem, item);
    const int paletteBefore = paletteItem(*m_designer);

    clickDesignWindow(*m_designer, QPoint(150, 100));
    QCOMPARE(selectedEntry(*m_designer), 0);
    QCOMPARE(m_designer->model.lastNumber, 1);
    QCOMPARE(layer.listCount(shell::ids::ComponentList), 2);
    QCOMPARE(paletteItem(*m_designer), paletteBefore);
}

// A press on a widget goes to the widget: it is selected, nothing is placed and the palette keeps its
// kind for the next press on empty area.
void tst_Placement::pressOnWidgetKeepsKind()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef label = place(*m_designer, LabelRow, QPoint(40, 30));
    clickDesignWindow(*m_designer, QPoint(250, 180));
    QCOMPARE(selectedEntry(*m_designer), 0);

    choose(*m_designer, EntryRow);
    QWidget *labelWidget = layer.widget(label);
    QCursor::setPos(labelWidget->mapToGlobal(QPoint(30, 10)));
    QTest::mouseClick(labelWidget, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(m_designer->model.lastNumber, 1);
    QCOMPARE(paletteItem(*m_designer), int(EntryRow));
    QCOMPARE(selectedEntry(*m_designer), 1);

    clickDesignWindow(*m_designer, QPoint(60, 120));
    QCOMPARE(m_designer->model.lastNumber, 2);
    QCOMPARE(m_designer->model.componentByNumber(2)->kind, ComponentKind::Entry);
    QCOMPARE(rectOf(layer, m_designer->model.componentByNumber(2)->widget), QRect(60, 120, 120, 20));
    QCOMPARE(paletteItem(*m_designer), int(Pointer));
}

void tst_Placement::pressNearCornerLeavesTenByTenVisible()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const ControlRef button = place(*m_designer, ButtonRow, QPoint(290, 190));
    QCOMPARE(rectOf(layer, button), QRect(290, 190, 88, 32));
    QCOMPARE(layer.widget(button)->visibleRegion().boundingRect(), QRect(0, 0, 10, 10));

    const ControlRef label = place(*m_designer, LabelRow, QPoint(299, 199));
    QCOMPARE(rectOf(layer, label), QRect(299, 199, 120, 20));
    QCOMPARE(layer.widget(label)->visibleRegion().boundingRect(), QRect(0, 0, 1, 1));
}

// The new widget's top-left corner is under the pointer while the placing press is still held; that
// press must not go on to drag the corner.
void tst_Placement::placingPressDoesNotDragNewWidget()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    QSignalSpy buttons(pointerDevice(*m_designer), &widgets::InputDeviceMonitor::buttonChanged);
    choose(*m_designer, ButtonRow);
    QTRY_COMPARE(buttons.size(), 2);   // the palette click, seen by the device
    buttons.clear();

    QWidget *client = designClient(*m_designer);
    const QPoint at(40, 30);
    QCursor::setPos(client->mapToGlobal(at));
    QTest::mousePress(client, Qt::LeftButton, {}, at);
    const ControlRef button = m_designer->model.componentByNumber(1)->widget;
    QTRY_COMPARE(buttons.size(), 1);
    QCOMPARE(buttons.at(0), QVariantList({256, 2}));
    QVERIFY(!m_designer->drag.active);

    QCursor::setPos(client->mapToGlobal(at + QPoint(15, 10)));
    QTest::mouseRelease(client, Qt::LeftButton, {}, at + QPoint(15, 10));
    QTRY_COMPARE(buttons.size(), 2);
    QCOMPARE(rectOf(layer, button), QRect(40, 30, 88, 32));

    // The next press on it is an ordinary one and drags.
    QWidget *widget = layer.widget(button);
    QCursor::setPos(widget->mapToGlobal(QPoint(44, 16)));
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(44, 16));
    QTRY_VERIFY(m_designer->drag.active);
    QCOMPARE(m_designer->drag.mode, design::DragMode::Move);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(44, 16));
    QTRY_VERIFY(!m_designer->drag.active);
}

void tst_Placement::templatesUnchangedByPlacing()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    for (int row = LabelRow; row <= CheckButtonRow; ++row)
        place(*m_designer, row, QPoint(0, 0));
    for (ComponentKind kind : model::WidgetKinds) {
        const ControlRef source = design::templateOf(kind);
        QVERIFY(!layer.readBoolean(source, Prop::Visible));
        QVERIFY(layer.readBoolean(source, Prop::Disabled));
        QCOMPARE(layer.readText(source, Prop::Tag), QString());
    }
    QCOMPARE(rectOf(layer, design::ids::ButtonTemplate), QRect(16, 48, 88, 32));
    QCOMPARE(rectOf(layer, design::ids::LabelTemplate), QRect(16, 16, 120, 20));
}

void tst_Placement::paletteDragArmsWhatWasPressed_data()
{
    QTest::addColumn<QString>("releasedOver");
    QTest::addColumn<QPoint>("at");           // in the design window's client area, or the grid's
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QPoint>("origin");       // where the design window places its widgets from
    // The press lands on 标签 and the pointer crosses 编辑框 on its way out of the palette.
    QTest::newRow("on the design window: placed where let go") << "client" << QPoint(150, 120) << true << QPoint();
    QTest::newRow("on a placed widget: placed there as well") << "client" << QPoint(25, 15) << true << QPoint();
    QTest::newRow("on the property grid: armed") << "grid" << QPoint(30, 40) << false << QPoint();
    QTest::newRow("back on the palette's next item: armed") << "palette" << QPoint() << false << QPoint();
    QTest::newRow("inside a border: its top-left corner where let go") << "client" << QPoint(150, 120) << true
                                                                       << QPoint(9, 10);
}

void tst_Placement::paletteDragArmsWhatWasPressed()
{
    QFETCH(QString, releasedOver);
    QFETCH(QPoint, at);
    QFETCH(bool, placed);
    QFETCH(QPoint, origin);
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.setChildOrigin(design::ids::DesignWindow, origin);
    place(*m_designer, ButtonRow, QPoint(10, 5));
    auto *palette = static_cast<widgets::GroupMenuControl *>(layer.control(shell::ids::Palette));
    QListWidget *list = palette->menu()->itemList();
    QWidget *top = list->window();
    QWindow *window = top->windowHandle();
    const QPoint label = list->viewport()->mapTo(top, list->visualItemRect(list->item(LabelRow)).center());
    const QPoint entry = list->viewport()->mapTo(top, list->visualItemRect(list->item(EntryRow)).center());
    QWidget *over = releasedOver == QLatin1String("client") ? designClient(*m_designer)
                    : releasedOver == QLatin1String("grid") ? layer.widget(shell::ids::PropertyGrid)
                                                             : list->viewport();
    const QPoint release = releasedOver == QLatin1String("palette") ? entry : over->mapTo(top, at);

    QTest::mousePress(window, Qt::LeftButton, {}, label);
    for (const QPoint &step : {entry + QPoint(-4, 2), entry + QPoint(40, 12), release})
        QTest::mouseMove(window, step);
    QTest::mouseRelease(window, Qt::LeftButton, {}, release);
    QTRY_VERIFY(!QGuiApplication::mouseButtons());
    if (placed) {
        QCOMPARE(m_designer->model.lastNumber, 2);
        const ControlRef made = m_designer->model.componentByNumber(2)->widget;
        QCOMPARE(made.type, ControlType::Label);
        QCOMPARE(rectOf(layer, made), QRect(at - origin, QSize(120, 20)));
        QCOMPARE(layer.widget(made)->pos(), at);
        QCOMPARE(paletteItem(*m_designer), int(Pointer));
        QCOMPARE(selectedEntry(*m_designer), 2);
    } else {
        QCOMPARE(m_designer->model.lastNumber, 1);
        QCOMPARE(paletteItem(*m_designer), int(LabelRow));
        // The next press on the design window places what was pressed.
        clickDesignWindow(*m_designer, QPoint(200, 150));
        QCOMPARE(m_designer->model.componentByNumber(2)->widget.type, ControlType::Label);
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_Placement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_placement.moc"
