#include "widgets/widgetlayer.h"

#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/controls/containercontrols.h"
#include "widgets/propertygrid/gridcontrol.h"
#include "widgets/inputdevice/inputdevicecontrol.h"
#include "widgets/inputdevice/inputdevicemonitor.h"
#include "widgets/propertygrid/propertygridview.h"
#include "widgets/controls/windowcontrol.h"

// The operations that belong to one type of control: lists, grids, code editors, input devices,
// and the size limits of windows.
namespace widgets {

int WidgetLayer::listAddItem(const ControlRef &list, const QString &text)
{
    auto *found = dynamic_cast<DropDownListControl *>(find(list));
    return found ? found->addItem(text) : -1;
}

QString WidgetLayer::listItemText(const ControlRef &list, int index) const
{
    auto *found = dynamic_cast<DropDownListControl *>(find(list));
    return found ? found->itemText(index) : QString();
}

int WidgetLayer::listCount(const ControlRef &list) const
{
    auto *found = dynamic_cast<DropDownListControl *>(find(list));
    return found ? found->count() : 0;
}

void WidgetLayer::setColumnWidth(const ControlRef &grid, int column, int width)
{
    if (auto *found = dynamic_cast<GridControl *>(find(grid)))
        found->grid()->setColumnWidth(column, toScreen(width, found->scale()));
}

int WidgetLayer::columnWidth(const ControlRef &grid, int column) const
{
    if (auto *found = dynamic_cast<GridControl *>(find(grid)))
        return fromScreen(found->grid()->columnWidth(column), found->scale());
    return 0;
}

void WidgetLayer::setCellText(const ControlRef &grid, int row, int column, const QString &text)
{
    if (auto *found = dynamic_cast<GridControl *>(find(grid)))
        found->grid()->setCellText(row, column, text);
}

QString WidgetLayer::cellText(const ControlRef &grid, int row, int column) const
{
    auto *found = dynamic_cast<GridControl *>(find(grid));
    return found ? found->grid()->cellText(row, column) : QString();
}

void WidgetLayer::setCellsReadOnly(const ControlRef &grid, int firstRow, int firstColumn, int lastRow,
                                   int lastColumn, bool readOnly)
{
    if (auto *found = dynamic_cast<GridControl *>(find(grid)))
        found->grid()->setCellsReadOnly(firstRow, firstColumn, lastRow, lastColumn, readOnly);
}

void WidgetLayer::finishGridEdit(const ControlRef &grid)
{
    if (auto *found = dynamic_cast<GridControl *>(find(grid)))
        found->grid()->finishEdit();
}

void WidgetLayer::setSizeLimits(const ControlRef &window, QSize smallestClient, QSize largestOuter)
{
    if (auto *found = dynamic_cast<WindowControl *>(find(window)))
        found->setSizeLimits(toScreen(smallestClient, found->scale()), toScreen(largestOuter, found->scale()));
}

long WidgetLayer::sendScintilla(const ControlRef &editor, unsigned message, unsigned long wParam, long lParam)
{
    auto *found = dynamic_cast<CodeEditorControl *>(find(editor));
    return found ? found->sendScintilla(message, wParam, lParam) : 0;
}

long WidgetLayer::sendScintilla(const ControlRef &editor, unsigned message, unsigned long wParam,
                                const char *lParam)
{
    auto *found = dynamic_cast<CodeEditorControl *>(find(editor));
    return found ? found->sendScintilla(message, wParam, lParam) : 0;
}

void WidgetLayer::setInputDeviceRunning(const ControlRef &device, bool running)
{
    if (auto *found = dynamic_cast<InputDeviceControl *>(find(device))) {
        if (running)
            found->monitor()->start();
        else
            found->monitor()->stop();
    }
}

native::PointerSample WidgetLayer::inputDeviceSample(const ControlRef &device) const
{
    const auto *found = dynamic_cast<InputDeviceControl *>(find(device));
    return found ? found->monitor()->changeSample() : native::PointerSample{};
}

void WidgetLayer::setInputDeviceArea(const ControlRef &device, const ControlRef &area)
{
    if (auto *found = dynamic_cast<InputDeviceControl *>(find(device)))
        found->monitor()->setWatchedArea(widget(area));
}

} // namespace widgets
