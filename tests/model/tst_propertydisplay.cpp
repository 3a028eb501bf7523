#include "design/designwindowids.h"
#include "model/propertydisplay.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/propertygrid/propertygridview.h"
#include "support/placing.h"
#include "support/screenscale.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QScopeGuard>
#include <QtTest>

using model::ComponentKind;
using shell::ids::ComponentList;
using shell::ids::PropertyGrid;
using widgets::Prop;

namespace {

// The texts of one grid column, from row 0 down.
QStringList column(const widgets::WidgetLayer &layer, int column)
{
    QStringList texts;
    const int rows = layer.readInteger(PropertyGrid, Prop::GridRows);
    for (int row = 0; row < rows; ++row)
        texts.append(layer.cellText(PropertyGrid, row, column));
    return texts;
}

const QStringList WindowLabels{"名称", "类名", "标题", "顶边", "左边", "宽度", "高度"};
const QStringList CaptionedLabels{"名称", "类名", "标题", "顶边", "左边", "宽度", "高度", "字体", "大小"};
const QStringList EntryLabels{"名称", "类名", "顶边", "左边", "宽度", "高度", "字体", "大小"};

} // namespace

class tst_PropertyDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowRowsAfterStartUp();
    void componentRows_data();
    void componentRows();
    void everyDisplaySetsColumnWidthsAndRowHeights();
    void rowCountFollowsTheChosenKind_data();
    void rowCountFollowsTheChosenKind();
    void classNameCellStaysReadOnly();
    void placingSelectsAndShowsTheNewComponent();
    void userChoosingWithKeyboardRedisplays();
    void userChoosingWithMouseRedisplays();
    void selectionInCodeRaisesNothing();
    void valuesAreReadAtTheMomentOfDisplay();
    void designWindowResizeShowsNewClientSize();
    void shownHandlesHoldEveryShownWidget();
    void noKindOrNoComponentLeavesTheGridAlone_data();
    void noKindOrNoComponentLeavesTheGridAlone();
    void hostileCaptionsShowAsTheyAre_data();
    void hostileCaptionsShowAsTheyAre();

private:
    widgets::PropertyGridView *grid() const;
    QComboBox *list() const;

    std::unique_ptr<shell::Designer> m_designer;
};

void tst_PropertyDisplay::init()
{
    m_designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    m_designer->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
}

void tst_PropertyDisplay::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

widgets::PropertyGridView *tst_PropertyDisplay::grid() const
{
    return qobject_cast<widgets::PropertyGridView *>(m_designer->layer.widget(PropertyGrid));
}

QComboBox *tst_PropertyDisplay::list() const
{
    return qobject_cast<QComboBox *>(m_designer->layer.widget(ComponentList));
}

void tst_PropertyDisplay::windowRowsAfterStartUp()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(layer.readInteger(ComponentList, Prop::ListSelection), 0);
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), 7);
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridColumns), 2);
    QCOMPARE(column(layer, 0), WindowLabels);
    const QString caption = layer.readText(design::ids::DesignWindow, Prop::WindowTitle);
    QCOMPARE(column(layer, 1), (QStringList{"值", "Window", caption, "100", "100", "300", "200"}));
    QVERIFY(!m_designer->model.shownComponent);
}

void tst_PropertyDisplay::componentRows_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("values");
    // Each is placed as the only component at (30, 40) and keeps its template's size and font.
    QTest::newRow("label") << ComponentKind::Label << CaptionedLabels
                           << QStringList{"值", "Label1", "标签", "40", "30", "120", "20", "微软雅黑", "9"};
    QTest::newRow("entry has no caption row")
        << ComponentKind::Entry << EntryLabels << QStringList{"值", "Entry1", "40", "30", "120", "20", "微软雅黑", "9"};
    QTest::newRow("button") << ComponentKind::Button << CaptionedLabels
                            << QStringList{"值", "Button1", "按钮", "40", "30", "88", "32", "微软雅黑", "9"};
    QTest::newRow("radio button") << ComponentKind::RadioButton << CaptionedLabels
                                  << QStringList{"值", "RadioButton1", "单选框", "40", "30", "120", "20", "微软雅黑", "9"};
    QTest::newRow("check button") << ComponentKind::CheckButton << CaptionedLabels
                                  << QStringList{"值", "CheckButton1", "复选框", "40", "30", "120", "20", "微软雅黑", "9"};
}

void tst_PropertyDisplay::componentRows()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, values);
    QVERIFY(!testsupport::place(*m_designer, kind, 30, 40).isNull());
    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), labels.size());
    QCOMPARE(column(layer, 0), labels);
    QCOMPARE(column(layer, 1), values);
    QCOMPARE(m_designer->model.shownComponent, std::optional(1));
}

void tst_PropertyDisplay::everyDisplaySetsColumnWidthsAndRowHeights()
{
    widgets::PropertyGridView *view = grid();
    testsupport::place(*m_designer, ComponentKind::Button);
    // Someone (a user's drag of a future header, a style) changed the widths: the next display restores them.
    view->setColumnWidth(0, 10);
    view->setColumnWidth(1, 300);
    for (int entry : {0, 1, 1, 0}) {
        model::selectListEntry(*m_designer, entry);
        // Screen pixels: 60, 114 and 26 layout units, 90, 171 and 39 at half again.
        QCOMPARE(view->columnWidth(0), testsupport::multiplied(60));
        QCOMPARE(view->columnWidth(1), testsupport::multiplied(114));
        for (int row = 0; row < view->rowCount(); ++row)
            QCOMPARE(view->rowHeight(row), testsupport::multiplied(26));
    }
}

void tst_PropertyDisplay::rowCountFollowsTheChosenKind_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QStringList>("labels");
    // Placed: 1 Label, 2 Entry, 3 Button.
    QTest::newRow("entry after label: 9 to 8, top moves to row 2") << 1 << 2 << EntryLabels;
    QTest::newRow("label after entry: 8 to 9") << 2 << 1 << CaptionedLabels;
    QTest::newRow("window after button: 7, no font rows") << 3 << 0 << WindowLabels;
    QTest::newRow("button after window") << 0 << 3 << CaptionedLabels;
    QTest::newRow("entry after window") << 0 << 2 << EntryLabels;
    QTest::newRow("same entry again") << 2 << 2 << EntryLabels;
}

void tst_PropertyDisplay::rowCountFollowsTheChosenKind()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QStringList, labels);
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    testsupport::place(*m_designer, ComponentKind::Button);
    const widgets::WidgetLayer &layer = m_designer->layer;
    model::selectListEntry(*m_designer, first);
    model::selectListEntry(*m_designer, second);
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), labels.size());
    QCOMPARE(column(layer, 0), labels);
    // Nothing of a longer layout is left below a shorter one.
    QCOMPARE(layer.cellText(PropertyGrid, labels.size(), 0), QString());
    QCOMPARE(layer.cellText(PropertyGrid, labels.size(), 1), QString());
}

void tst_PropertyDisplay::classNameCellStaysReadOnly()
{
    widgets::PropertyGridView *view = grid();
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    for (int entry : {0, 1, 2, 0, 2, 1}) {
        model::selectListEntry(*m_designer, entry);
        QVERIFY(!view->isCellEditable(1, 1));
        for (int row = 2; row < view->rowCount(); ++row)
            QVERIFY2(view->isCellEditable(row, 1), qPrintable(QString::number(row)));
    }
    // F2 on the class name opens nothing.
    view->setFocus();
    view->setCurrentCell(0, 0);
    QTest::keyClick(view, Qt::Key_F2);
    QVERIFY(!view->openEditor());
}

void tst_PropertyDisplay::placingSelectsAndShowsTheNewComponent()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Button);
    for (int before : {0, 1, 2}) {
        model::selectListEntry(*m_designer, before);
        testsupport::place(*m_designer, ComponentKind::Entry);
        const int newest = m_designer->model.lastNumber;
        QCOMPARE(layer.readInteger(ComponentList, Prop::ListSelection), newest);
        QCOMPARE(layer.cellText(PropertyGrid, 1, 1), QStringLiteral("Entry") + QString::number(newest));
        QCOMPARE(m_designer->model.shownComponent, std::optional(newest));
    }
}

void tst_PropertyDisplay::userChoosingWithKeyboardRedisplays()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    QComboBox *combo = list();
    QSignalSpy chosen(combo, &QComboBox::activated);

    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), QStringLiteral("Label1"));
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), 9);
    QCOMPARE(m_designer->model.shownComponent, std::optional(1));

    QTest::keyClick(combo, Qt::Key_Home);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), QStringLiteral("Window"));
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), 7);
    QVERIFY(!m_designer->model.shownComponent);

    QTest::keyClick(combo, Qt::Key_End);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), QStringLiteral("Entry2"));
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), 8);
}

void tst_PropertyDisplay::userChoosingWithMouseRedisplays()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Button);
    testsupport::place(*m_designer, ComponentKind::Entry);
    QComboBox *combo = list();
    // The list ignores a release that comes within a double-click interval of its opening (it
    // would be the release of the opening click); with no interval the click below counts.
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0);
    auto restoreInterval = qScopeGuard([interval] { QApplication::setDoubleClickInterval(interval); });
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support grabbing the keyboard");
    }
    QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView *popup = combo->view();
    QVERIFY(popup->window()->isVisible());
    const QRect item = popup->visualRect(popup->model()->index(1, 0));
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, item.center());
    QVERIFY(!popup->window()->isVisible());
    QCOMPARE(layer.readInteger(ComponentList, Prop::ListSelection), 1);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), QStringLiteral("Button1"));
    QCOMPARE(layer.readInteger(PropertyGrid, Prop::GridRows), 9);
}

void tst_PropertyDisplay::selectionInCodeRaisesNothing()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Label);
    testsupport::place(*m_designer, ComponentKind::Entry);
    QSignalSpy chosen(list(), &QComboBox::activated);
    const QStringList shown = column(layer, 1);
    for (int index : {0, 1, 99, -5}) {
        layer.writeProperty(ComponentList, Prop::ListSelection, index);
        // No notification, so no redisplay: the grid still shows the Entry.
        QCOMPARE(column(layer, 1), shown);
    }
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(m_designer->model.shownComponent, std::optional(2));
}

void tst_PropertyDisplay::valuesAreReadAtTheMomentOfDisplay()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const widgets::ControlRef label = testsupport::place(*m_designer, ComponentKind::Label);
    layer.moveControl(label, -15, 500, 7, 3);
    layer.writeProperty(label, Prop::LabelText, QStringLiteral("改过"));
    layer.writeProperty(label, Prop::LabelFont, 14, int(widgets::FontMember::Size));
    layer.writeProperty(label, Prop::LabelFont, QStringLiteral("Arial"), int(widgets::FontMember::Face));
    // The grid does not follow the widget by itself ...
    QCOMPARE(layer.cellText(PropertyGrid, 3, 1), QStringLiteral("10"));
    // ... only through a display.
    model::showProperties(*m_designer);
    QCOMPARE(column(layer, 1), (QStringList{"值", "Label1", "改过", "500", "-15", "7", "3", "Arial", "14"}));
}

void tst_PropertyDisplay::designWindowResizeShowsNewClientSize()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    const int frameWidth = layer.readInteger(design::ids::DesignWindow, Prop::Width) - 300;
    const int frameHeight = layer.readInteger(design::ids::DesignWindow, Prop::Height) - 200;
    layer.moveControl(design::ids::DesignWindow, std::nullopt, std::nullopt, 411 + frameWidth, 250 + frameHeight);
    QCOMPARE(layer.cellText(PropertyGrid, 5, 1), QStringLiteral("411"));
    QCOMPARE(layer.cellText(PropertyGrid, 6, 1), QStringLiteral("250"));
    QCOMPARE(layer.cellText(PropertyGrid, 3, 1), QStringLiteral("100"));
    QCOMPARE(layer.cellText(PropertyGrid, 4, 1), QStringLiteral("100"));
}

void tst_PropertyDisplay::shownHandlesHoldEveryShownWidget()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    QVERIFY(m_designer->model.shownHandles.isEmpty());
    const widgets::ControlRef label = testsupport::place(*m_designer, ComponentKind::Label);
    const widgets::ControlRef button = testsupport::place(*m_designer, ComponentKind::Button);
    for (int entry : {1, 1, 0, 2, 1})
        model::selectListEntry(*m_designer, entry);
    const QSet<quintptr> &handles = m_designer->model.shownHandles;
    QVERIFY(handles.contains(layer.nativeHandle(label)));
    QVERIFY(handles.contains(layer.nativeHandle(button)));
    // Neither the design window nor a template is ever draggable.
    QVERIFY(!handles.contains(layer.nativeHandle(design::ids::DesignWindow)));
    QVERIFY(!handles.contains(layer.nativeHandle(design::ids::LabelTemplate)));
    QVERIFY(!handles.contains(0));
}

void tst_PropertyDisplay::noKindOrNoComponentLeavesTheGridAlone_data()
{
    QTest::addColumn<QString>("bogusEntry");
    QTest::addColumn<int>("select");
    QTest::newRow("nothing selected") << QString() << -1;
    QTest::newRow("entry naming no kind") << "7.Button" << 2;
    QTest::newRow("entry of a component that does not exist") << "99.标签" << 2;
    QTest::newRow("entry with number zero") << "0.按钮" << 2;
}

// Neither can happen while the list is kept by the designer; if it did, the grid must not show a
// stranger's values or crash.
void tst_PropertyDisplay::noKindOrNoComponentLeavesTheGridAlone()
{
    QFETCH(QString, bogusEntry);
    QFETCH(int, select);
    widgets::WidgetLayer &layer = m_designer->layer;
    testsupport::place(*m_designer, ComponentKind::Label);
    if (!bogusEntry.isEmpty())
        layer.listAddItem(ComponentList, bogusEntry);
    const QStringList labels = column(layer, 0);
    const QStringList values = column(layer, 1);
    model::selectListEntry(*m_designer, select);
    QCOMPARE(column(layer, 0), labels);
    QCOMPARE(column(layer, 1), values);
    QCOMPARE(m_designer->model.shownComponent, std::optional(1));
}

void tst_PropertyDisplay::hostileCaptionsShowAsTheyAre_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("100,000 characters") << ComponentKind::Label << QString(100000, QLatin1Char('W'));
    QTest::newRow("control characters") << ComponentKind::Button << QStringLiteral("a\tb\x01\x1f\x7f\r\nc");
    QTest::newRow("emoji outside GB2312") << ComponentKind::CheckButton << QStringLiteral("😀 表情 ✓");
    QTest::newRow("empty") << ComponentKind::RadioButton << QString();
    QTest::newRow("window caption of 100,000 characters") << ComponentKind::Window << QString(100000, QChar(0x6C49));
}

void tst_PropertyDisplay::hostileCaptionsShowAsTheyAre()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QString, caption);
    widgets::WidgetLayer &layer = m_designer->layer;
    if (kind == ComponentKind::Window) {
        layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, caption);
    } else {
        const widgets::ControlRef widget = testsupport::place(*m_designer, kind);
        layer.writeProperty(widget, *model::captionProperty(kind), caption);
    }
    model::showProperties(*m_designer);
    QCOMPARE(layer.cellText(PropertyGrid, 2, 1), caption);
}

QTEST_MAIN(tst_PropertyDisplay)
#include "tst_propertydisplay.moc"
