#pragma once

// The user's gestures on a whole designer, sent to the real widgets: choosing a kind in the
// palette, pressing on the design window, selecting a widget, and editing a value in the property
// grid by selecting the cell, typing (or pasting) and pressing Return.

#include "model/propertyrows.h"
#include "design/designwindowids.h"
#include "model/componentkind.h"
#include "model/designmodel.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/controls/groupmenu.h"
#include "widgets/controls/groupmenucontrol.h"
#include "widgets/codeeditor/codeeditorwidget.h"
#include "widgets/propertygrid/propertygridview.h"
#include "widgets/fontvalue.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include <memory>
#include <optional>

namespace designdriving {

using model::ComponentKind;
using widgets::ControlRef;
using widgets::Prop;

// The grid's row labels.
inline const QString TitleRow = QStringLiteral("标题");
inline const QString TopRow = QStringLiteral("顶边");
inline const QString LeftRow = QStringLiteral("左边");
inline const QString WidthRow = QStringLiteral("宽度");
inline const QString HeightRow = QStringLiteral("高度");
inline const QString FaceRow = QStringLiteral("字体");
inline const QString SizeRow = QStringLiteral("大小");

// The program the code button puts into the code view, for the design as it stands.
inline QString programInCodeView(shell::Designer &designer)
{
    QTest::mouseClick(designer.layer.widget(shell::ids::CodePanelButton), Qt::LeftButton);
    QWidget *view = designer.layer.widget(shell::ids::CodeView);
    auto *editor = qobject_cast<widgets::CodeEditorWidget *>(view);
    if (!editor)
        editor = view->findChild<widgets::CodeEditorWidget *>();
    const QString text = editor ? editor->text() : QString();
    QTest::mouseClick(designer.layer.widget(shell::ids::WindowPanelButton), Qt::LeftButton);
    return text;
}

inline std::unique_ptr<shell::Designer> startDesigner()
{
    auto designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    return designer;
}

// The palette row of a kind, counted from the pointer at the top.
inline int paletteRow(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Label: return 1;
    case ComponentKind::Entry: return 2;
    case ComponentKind::Button: return 3;
    case ComponentKind::RadioButton: return 4;
    case ComponentKind::CheckButton: return 5;
    case ComponentKind::Window: break;
    }
    return 0;
}

inline QWidget *designClient(const shell::Designer &designer)
{
    return designer.layer.control(design::ids::DesignWindow)->clientWidget();
}

inline widgets::PropertyGridView *propertyGrid(const shell::Designer &designer)
{
    return qobject_cast<widgets::PropertyGridView *>(designer.layer.widget(shell::ids::PropertyGrid));
}

inline QRect rectOf(const shell::Designer &designer, const ControlRef &ref)
{
    const widgets::WidgetLayer &layer = designer.layer;
    return QRect(layer.readInteger(ref, Prop::Left), layer.readInteger(ref, Prop::Top),
                 layer.readInteger(ref, Prop::Width), layer.readInteger(ref, Prop::Height));
}

// A click on a palette row, as the user makes it.
inline void choosePaletteRow(shell::Designer &designer, int row)
{
    auto *palette = static_cast<widgets::GroupMenuControl *>(designer.layer.control(shell::ids::Palette));
    QListWidget *list = palette->menu()->itemList();
    const QRect item = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

// A left click at a point of the design window's client area. The pointer is put there as well,
// so that the polled pointer device sees the same place as the click.
inline void clickDesignWindow(shell::Designer &designer, QPoint at)
{
    QWidget *client = designClient(designer);
    QCursor::setPos(client->mapToGlobal(at));
    if (!at.isNull()) {
        QTest::mouseClick(client, Qt::LeftButton, {}, at);
        return;
    }
    // QTest takes (0, 0) for "the widget's centre"; the corner itself needs events of our own.
    const QPointF point(at);
    const QPointF global(client->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(client, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(client, &release);
}

// True when a press at the point reaches the design window itself, not a placed widget.
inline bool isEmptyDesignArea(const shell::Designer &designer, QPoint at)
{
    const QWidget *client = designClient(designer);
    return client->rect().contains(at) && client->childAt(at) == nullptr;
}

// The first point of a coarse raster over the client area that no widget covers.
inline std::optional<QPoint> emptyDesignPoint(const shell::Designer &designer)
{
    const QSize size = designClient(designer)->size();
    for (int y = 0; y < size.height(); y += 3) {
        for (int x = 0; x < size.width(); x += 3) {
            if (isEmptyDesignArea(designer, QPoint(x, y)))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// Chooses the kind in the palette and presses on empty design-window area: the new component's
// record, or none (with a test failure) when nothing was placed.
inline const model::Component *placeByMouse(shell::Designer &designer, ComponentKind kind, QPoint at)
{
    if (!isEmptyDesignArea(designer, at)) {
        QTest::qFail(qPrintable(QStringLiteral("(%1, %2) is not empty design-window area").arg(at.x()).arg(at.y())),
                     __FILE__, __LINE__);
        return nullptr;
    }
    const int before = designer.model.lastNumber;
    choosePaletteRow(designer, paletteRow(kind));
    clickDesignWindow(designer, at);
    if (designer.model.lastNumber != before + 1) {
        QTest::qFail("the press on the design window placed nothing", __FILE__, __LINE__);
        return nullptr;
    }
    return designer.model.componentByNumber(designer.model.lastNumber);
}

inline int selectedEntry(const shell::Designer &designer)
{
    return designer.layer.readInteger(shell::ids::ComponentList, Prop::ListSelection);
}

// Makes the window the entry the grid shows: a press on empty design-window area with the pointer
// chosen, or, when widgets cover the whole client area, Home in the component list.
inline void selectWindowEntry(shell::Designer &designer)
{
    if (const std::optional<QPoint> empty = emptyDesignPoint(designer)) {
        choosePaletteRow(designer, 0);
        clickDesignWindow(designer, *empty);
        return;
    }
    auto *list = qobject_cast<QComboBox *>(designer.layer.widget(shell::ids::ComponentList));
    QTest::keyClick(list, Qt::Key_Home);
}

// Selects a placed widget by pressing it (a button selects on its click) in the middle of the part
// of it that shows; false when none of it shows.
inline bool selectByMouse(shell::Designer &designer, const model::Component &component)
{
    QWidget *widget = designer.layer.widget(component.widget);
    QWidget *client = designClient(designer);
    const QRect shown = widget->geometry().intersected(client->rect());
    if (shown.isEmpty())
        return false;
    const QPoint at = widget->mapFrom(client, shown.center());
    QCursor::setPos(widget->mapToGlobal(at));
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    return selectedEntry(designer) == component.number;
}

// The grid row whose label column reads the label, or -1.
inline int gridRow(const shell::Designer &designer, const QString &label)
{
    const int rows = designer.layer.readInteger(shell::ids::PropertyGrid, Prop::GridRows);
    for (int row = 1; row < rows; ++row) {
        if (designer.layer.cellText(shell::ids::PropertyGrid, row, 0) == label)
            return row;
    }
    return -1;
}

inline QString gridValue(const shell::Designer &designer, const QString &label)
{
    const int row = gridRow(designer, label);
    return row < 0 ? QString() : designer.layer.cellText(shell::ids::PropertyGrid, row, 1);
}

// A text a keyboard types key by key; others (control characters, very long texts) are pasted.
inline bool isTypable(const QString &text)
{
    if (text.isEmpty() || text.size() > 300)
        return false;
    for (QChar ch : text) {
        if (!ch.isPrint() && !ch.isSurrogate())
            return false;
    }
    return true;
}

// One key press that delivers the text (a character outside the basic plane arrives whole, as an
// input method delivers it).
inline void typeCharacter(QWidget *target, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text, Qt::NoModifier);
}

// Ends an edit with Return and reports whether the grid closed the editor. Qt's delegate commits
// and closes through a queued call, so the events waiting after the key are handled first.
inline bool pressReturn(widgets::PropertyGridView *grid, QWidget *editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    return grid->openEditor() == nullptr;
}

// Edits the value of the row labelled `label` as the user does: selects the value cell with a
// click (unless it is selected already: a second click would open an editor late, on a timer),
// then types the text on it, which opens the editor with the old text selected, and presses
// Return. A text that cannot be typed is pasted into the editor that F2 opens, after Ctrl+A.
// Answers an explanation when the edit could not be made, else an empty text.
inline QString editGridValue(shell::Designer &designer, const QString &label, const QString &text)
{
    widgets::PropertyGridView *grid = propertyGrid(designer);
    const int row = gridRow(designer, label);
    if (row < 0)
        return QStringLiteral("the grid has no row \"%1\"").arg(label);
    const QModelIndex cell = grid->model()->index(row - 1, 0);
    grid->setFocus();
    if (grid->currentIndex() != cell || !grid->selectionModel()->isSelected(cell))
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    if (grid->currentIndex() != cell)
        return QStringLiteral("a click on the value of \"%1\" did not select it").arg(label);

    auto *editor = qobject_cast<QLineEdit *>(grid->openEditor());
    if (isTypable(text)) {
        qsizetype i = 0;
        while (i < text.size()) {
            const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            typeCharacter(editor ? static_cast<QWidget *>(editor) : grid, text.mid(i, length));
            if (!editor) {
                editor = qobject_cast<QLineEdit *>(grid->openEditor());
                if (!editor)
                    return QStringLiteral("typing on the value of \"%1\" opened no editor").arg(label);
            }
            i += length;
        }
    } else {
        if (!editor) {
            QTest::keyClick(grid, Qt::Key_F2);
            editor = qobject_cast<QLineEdit *>(grid->openEditor());
            if (!editor)
                return QStringLiteral("F2 on the value of \"%1\" opened no editor").arg(label);
        }
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(editor, Qt::Key_Delete);
        } else {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        }
        if (editor->text() != text)
            return QStringLiteral("the editor of \"%1\" holds %2 characters after pasting %3")
                .arg(label).arg(editor->text().size()).arg(text.size());
    }
    if (!pressReturn(grid, editor))
        return QStringLiteral("Return did not end the edit of \"%1\"").arg(label);
    return {};
}

} // namespace designdriving
