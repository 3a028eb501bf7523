#include "model/propertyediting.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/propertygrid/propertygridview.h"
#include "designsnapshot.h"
#include "griddriving.h"
#include "support/placing.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

// How an edit in the grid is opened and ended, and where it goes: to the component it was typed for,
// whatever the user does between typing and ending it, and never rewriting what it did not change.
using model::ComponentKind;
using testing::DesignSnapshot;
using testing::gridTexts;
using testing::snapshot;
using shell::ids::ComponentList;
using shell::ids::PropertyGrid;
using widgets::ControlRef;
using widgets::Prop;

namespace {

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

class tst_EditGestures : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_active.start()); }
    void cleanup() { QVERIFY(m_active.stop()); }

    void unchangedEditChangesNothing_data();
    void unchangedEditChangesNothing();
    void gestures_data();
    void gestures();
    void tabCarriesTheEditToTheNextRow();
    void pendingEditGoesToTheComponentItWasTypedFor_data();
    void pendingEditGoesToTheComponentItWasTypedFor();
    void editAfterPanelRoundTripReachesTheShownLabel();
    void applyWithoutAnEditRewritesNothingVisible();
    void editsGoToWhatTheGridShows();

private:
    widgets::PropertyGridView *grid() const { return m_active.grid(); }
    testing::ActiveDesigner m_active;
};

void tst_EditGestures::unchangedEditChangesNothing_data()
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

void tst_EditGestures::unchangedEditChangesNothing()
{
    QFETCH(int, entry);
    QFETCH(QString, row);
    widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef label = testsupport::place(*m_active.designer, ComponentKind::Label, 5, 7);
    testsupport::place(*m_active.designer, ComponentKind::Entry, -20, 190);
    testsupport::place(*m_active.designer, ComponentKind::Button, 100, 20);
    testsupport::place(*m_active.designer, ComponentKind::RadioButton, 290, 190);
    const ControlRef check = testsupport::place(*m_active.designer, ComponentKind::CheckButton, 8, 150);
    layer.writeProperty(label, Prop::LabelText, QStringLiteral("第一行\r\n第二行"));
    layer.writeProperty(check, Prop::CheckFont, 0, int(widgets::FontMember::Size));
    layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, QStringLiteral("标题 [*] & 😀"));
    model::selectListEntry(*m_active.designer, entry);

    const DesignSnapshot before = snapshot(*m_active.designer);
    const QStringList shownBefore = gridTexts(layer);
    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QLineEdit *editor = testing::openWithF2(grid(), testing::rowOf(*m_active.designer, row));
    QVERIFY(editor);
    testing::pressInEditor(editor, Qt::Key_Return);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(snapshot(*m_active.designer), before);
    QCOMPARE(gridTexts(layer), shownBefore);
}

void tst_EditGestures::gestures_data()
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
void tst_EditGestures::gestures()
{
    QFETCH(Gesture, gesture);
    QFETCH(QString, shown);
    const ControlRef label = testsupport::place(*m_active.designer, ComponentKind::Label);
    widgets::PropertyGridView *view = grid();
    const int row = testing::rowOf(*m_active.designer, QStringLiteral("宽度"));
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
        QTest::mouseClick(m_active.designer->layer.widget(shell::ids::WindowPanelButton), Qt::LeftButton);
        break;
    default: testing::pressInEditor(editor, Qt::Key_Return); break;
    }
    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_active.designer->layer.cellText(PropertyGrid, row, 1), shown);
    QCOMPARE(QString::number(m_active.designer->layer.readInteger(label, Prop::Width)), shown);
    // Another edit can start afterwards.
    if (gesture != Gesture::F2ThenTab) {
        QVERIFY(testing::editRow(*m_active.designer, row, QStringLiteral("77")));
        QCOMPARE(m_active.designer->layer.readInteger(label, Prop::Width), 77);
        QCOMPARE(ended.count(), 2);
    }
}

void tst_EditGestures::tabCarriesTheEditToTheNextRow()
{
    const ControlRef button = testsupport::place(*m_active.designer, ComponentKind::Button);
    widgets::PropertyGridView *view = grid();
    QSignalSpy ended(view, &widgets::PropertyGridView::editEnded);
    const int widthRow = testing::rowOf(*m_active.designer, QStringLiteral("宽度"));
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
    const widgets::WidgetLayer &layer = m_active.designer->layer;
    QCOMPARE(QSize(layer.readInteger(button, Prop::Width), layer.readInteger(button, Prop::Height)), QSize(150, 45));
}

void tst_EditGestures::pendingEditGoesToTheComponentItWasTypedFor_data()
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
void tst_EditGestures::pendingEditGoesToTheComponentItWasTypedFor()
{
    QFETCH(int, chosenMeanwhile);
    QFETCH(QString, shownClass);
    const widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef first = testsupport::place(*m_active.designer, ComponentKind::Label);
    const ControlRef second = testsupport::place(*m_active.designer, ComponentKind::Label);
    testsupport::place(*m_active.designer, ComponentKind::Entry);
    model::selectListEntry(*m_active.designer, 1);
    const DesignSnapshot before = snapshot(*m_active.designer);

    QSignalSpy ended(grid(), &widgets::PropertyGridView::editEnded);
    QLineEdit *editor = testing::openWithF2(grid(), testing::rowOf(*m_active.designer, QStringLiteral("宽度")));
    QVERIFY(editor);
    testing::replaceText(editor, QStringLiteral("150"));
    model::selectListEntry(*m_active.designer, chosenMeanwhile);

    QCOMPARE(ended.count(), 1);
    QVERIFY(!grid()->openEditor());
    QCOMPARE(layer.readInteger(first, Prop::Width), 150);
    QCOMPARE(layer.readInteger(second, Prop::Width), 120);
    QCOMPARE(layer.cellText(PropertyGrid, 1, 1), shownClass);
    DesignSnapshot after = snapshot(*m_active.designer);
    after.geometries[0].setWidth(120);
    QCOMPARE(after, before);
}

// The code panel's generator must not change which Label the grid edits.
void tst_EditGestures::editAfterPanelRoundTripReachesTheShownLabel()
{
    const widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef first = testsupport::place(*m_active.designer, ComponentKind::Label);
    const ControlRef second = testsupport::place(*m_active.designer, ComponentKind::Label);
    model::selectListEntry(*m_active.designer, 1);
    QTest::mouseClick(layer.widget(shell::ids::CodePanelButton), Qt::LeftButton);
    QTest::mouseClick(layer.widget(shell::ids::WindowPanelButton), Qt::LeftButton);
    QVERIFY(testing::editRow(*m_active.designer, 2, QStringLiteral("第一个")));
    QCOMPARE(layer.readText(first, Prop::LabelText), QStringLiteral("第一个"));
    QCOMPARE(layer.readText(second, Prop::LabelText), QStringLiteral("标签"));
}

// applyPropertyEdits does not ask which cell changed; called with nothing edited it must leave
// everything as it is, for the window and every kind.
void tst_EditGestures::applyWithoutAnEditRewritesNothingVisible()
{
    for (ComponentKind kind : model::WidgetKinds)
        testsupport::place(*m_active.designer, kind, 33, 44);
    for (int entry = 0; entry <= 5; ++entry) {
        model::selectListEntry(*m_active.designer, entry);
        const DesignSnapshot before = snapshot(*m_active.designer);
        const QStringList shown = gridTexts(m_active.designer->layer);
        model::applyPropertyEdits(*m_active.designer);
        model::applyPropertyEdits(*m_active.designer);
        QCOMPARE(snapshot(*m_active.designer), before);
        QCOMPARE(gridTexts(m_active.designer->layer), shown);
    }
}

// The list's selection may be set from code without a display; the values still go to what the
// grid shows, never into the window or another component.
void tst_EditGestures::editsGoToWhatTheGridShows()
{
    widgets::WidgetLayer &layer = m_active.designer->layer;
    const ControlRef label = testsupport::place(*m_active.designer, ComponentKind::Label);
    testsupport::place(*m_active.designer, ComponentKind::Button);
    model::selectListEntry(*m_active.designer, 1);
    const DesignSnapshot before = snapshot(*m_active.designer);
    for (int selected : {0, 2}) {
        layer.writeProperty(ComponentList, Prop::ListSelection, selected);
        layer.setCellText(PropertyGrid, 3, 1, QString::number(60 + selected));
        model::applyPropertyEdits(*m_active.designer);
        QCOMPARE(layer.readInteger(label, Prop::Top), 60 + selected);
        model::selectListEntry(*m_active.designer, 1);
    }
    layer.writeProperty(ComponentList, Prop::ListSelection, 0);
    QVERIFY(testing::editRow(*m_active.designer, 3, QStringLiteral("55")));
    QCOMPARE(layer.readInteger(label, Prop::Top), 55);
    DesignSnapshot after = snapshot(*m_active.designer);
    after.geometries[0].moveTop(before.geometries[0].top());
    QCOMPARE(after, before);
}

QTEST_MAIN(tst_EditGestures)
#include "tst_editgestures.moc"
