#pragma once

// Helpers for the design-surface tests: a whole designer started on the offscreen screen, and the
// user's gestures on it (choosing in the palette, pressing on the design window).

#include "design/designwindowids.h"
#include "model/componentkind.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/controls/groupmenu.h"
#include "widgets/controls/groupmenucontrol.h"

#include <QApplication>
#include <QCursor>
#include <QListWidget>
#include <QtTest>

#include <memory>

namespace designtesting {

using widgets::ControlRef;
using widgets::Prop;

// Palette rows, as the user sees them from the top.
enum PaletteRow { Pointer = 0, LabelRow = 1, EntryRow = 2, ButtonRow = 3, RadioButtonRow = 4, CheckButtonRow = 5 };

inline std::unique_ptr<shell::Designer> startDesigner()
{
    // Every test starts with the pointer away from our windows, so that its first move is a real one.
    QCursor::setPos(QPoint(0, 0));
    QCoreApplication::processEvents();
    auto designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    return designer;
}

inline QWidget *designClient(const shell::Designer &designer)
{
    return designer.layer.control(design::ids::DesignWindow)->clientWidget();
}

inline QRect rectOf(const widgets::WidgetLayer &layer, const ControlRef &ref)
{
    return QRect(layer.readInteger(ref, Prop::Left), layer.readInteger(ref, Prop::Top),
                 layer.readInteger(ref, Prop::Width), layer.readInteger(ref, Prop::Height));
}

// The value the property grid shows in the row with that name, or a null string when it has no such row.
inline QString gridValue(const shell::Designer &designer, const QString &name)
{
    const widgets::WidgetLayer &layer = designer.layer;
    const int rows = layer.readInteger(shell::ids::PropertyGrid, Prop::GridRows);
    for (int row = 1; row < rows; ++row) {
        if (layer.cellText(shell::ids::PropertyGrid, row, 0) == name)
            return layer.cellText(shell::ids::PropertyGrid, row, 1);
    }
    return QString();
}

// Clicks a row of the palette as the user does.
inline void choose(shell::Designer &designer, int row)
{
    auto *palette = static_cast<widgets::GroupMenuControl *>(designer.layer.control(shell::ids::Palette));
    QListWidget *list = palette->menu()->itemList();
    const QRect item = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

inline int paletteItem(const shell::Designer &designer)
{
    return designer.layer.readInteger(shell::ids::Palette, Prop::MenuCurrentItem);
}

inline int selectedEntry(const shell::Designer &designer)
{
    return designer.layer.readInteger(shell::ids::ComponentList, Prop::ListSelection);
}

// A left click on the design window's client area at (x, y), with the pointer put there first.
inline void clickDesignWindow(shell::Designer &designer, QPoint at)
{
    QWidget *client = designClient(designer);
    QCursor::setPos(client->mapToGlobal(at));
    QTest::mouseClick(client, Qt::LeftButton, {}, at);
}

// Chooses the kind and places one widget at (x, y); answers the new component's widget.
inline ControlRef place(shell::Designer &designer, int row, QPoint at)
{
    choose(designer, row);
    clickDesignWindow(designer, at);
    const model::Component *made = designer.model.componentByNumber(designer.model.lastNumber);
    return made ? made->widget : ControlRef{};
}

} // namespace designtesting
