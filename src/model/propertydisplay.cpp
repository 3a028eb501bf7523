#include "model/propertydisplay.h"

#include "design/designerstate.h"
#include "design/designwindowids.h"
#include "design/mainwindowids.h"
#include "model/propertyediting.h"
#include "model/propertyrows.h"
#include "widgets/textconversion.h"

namespace model {

using design::mainwindow::ComponentList;
using design::mainwindow::PropertyGrid;
using widgets::FontMember;
using widgets::Prop;
using widgets::WidgetLayer;

namespace {

QString windowValue(const design::DesignerState &designer, PropertyRow row)
{
    const WidgetLayer &layer = designer.layer;
    const widgets::ControlRef window = design::ids::DesignWindow;
    switch (row) {
    case PropertyRow::ClassName: return classWord(ComponentKind::Window);
    case PropertyRow::Caption: return layer.readText(window, Prop::WindowTitle);
    case PropertyRow::Top: return widgets::integerToText(designer.model.windowTop);
    case PropertyRow::Left: return widgets::integerToText(designer.model.windowLeft);
    case PropertyRow::Width: return widgets::integerToText(layer.clientWidth(window));
    case PropertyRow::Height: return widgets::integerToText(layer.clientHeight(window));
    case PropertyRow::FontFace:
    case PropertyRow::FontSize: break;
    }
    return {};
}

QString componentValue(const WidgetLayer &layer, const Component &component, PropertyRow row)
{
    const widgets::ControlRef &widget = component.widget;
    switch (row) {
    case PropertyRow::ClassName: return component.className();
    case PropertyRow::Caption:
        if (const auto caption = captionProperty(component.kind))
            return layer.readText(widget, *caption);
        break;
    case PropertyRow::Top: return widgets::integerToText(layer.readInteger(widget, Prop::Top));
    case PropertyRow::Left: return widgets::integerToText(layer.readInteger(widget, Prop::Left));
    case PropertyRow::Width: return widgets::integerToText(layer.readInteger(widget, Prop::Width));
    case PropertyRow::Height: return widgets::integerToText(layer.readInteger(widget, Prop::Height));
    case PropertyRow::FontFace:
        if (const auto font = fontProperty(component.kind))
            return layer.readText(widget, *font, int(FontMember::Face));
        break;
    case PropertyRow::FontSize:
        if (const auto font = fontProperty(component.kind))
            return widgets::integerToText(layer.readInteger(widget, *font, int(FontMember::Size)));
        break;
    }
    return {};
}

} // namespace

void showProperties(design::DesignerState &designer)
{
    WidgetLayer &layer = designer.layer;
    // A text still being typed belongs to what the grid shows now, not to what it is about to show.
    finishPropertyEdit(designer);

    const int selected = layer.readInteger(ComponentList, Prop::ListSelection);
    const QString entry = layer.listItemText(ComponentList, selected);
    const std::optional<ComponentKind> kind = kindOfEntry(entry);
    if (!kind)
        return;
    const Component *component = nullptr;
    if (*kind != ComponentKind::Window) {
        component = designer.model.componentByNumber(numberOfEntry(entry));
        // Every entry has its component; if one had not, showing nothing new beats showing a stranger.
        if (!component)
            return;
    }

    const QList<PropertyRow> rows = propertyRows(component ? component->kind : ComponentKind::Window);
    // The counts first: each resets the heights or widths, which are set after them. A grid that has
    // this shape already keeps it: every step of a drag comes here, and laying the grid out again,
    // only to end where it was, would repaint all of it each time.
    const bool shapedAlready = layer.readInteger(PropertyGrid, Prop::GridRows) == int(rows.size()) + 1
        && layer.readInteger(PropertyGrid, Prop::GridColumns) == 2
        && layer.columnWidth(PropertyGrid, 0) == LabelColumnWidth
        && layer.columnWidth(PropertyGrid, 1) == ValueColumnWidth;
    if (!shapedAlready) {
        layer.writeProperty(PropertyGrid, Prop::GridRows, int(rows.size()) + 1);
        layer.writeProperty(PropertyGrid, Prop::GridColumns, 2);
        layer.setColumnWidth(PropertyGrid, 0, LabelColumnWidth);
        layer.setColumnWidth(PropertyGrid, 1, ValueColumnWidth);
    }
    layer.setCellText(PropertyGrid, 0, 0, LabelColumnHeader);
    layer.setCellText(PropertyGrid, 0, 1, ValueColumnHeader);
    for (int i = 0; i < rows.size(); ++i) {
        const QString value = component ? componentValue(layer, *component, rows[i]) : windowValue(designer, rows[i]);
        layer.setCellText(PropertyGrid, i + 1, 0, rowLabel(rows[i]));
        layer.setCellText(PropertyGrid, i + 1, 1, value);
    }

    if (component) {
        designer.model.shownComponent = component->number;
        designer.model.shownHandles.insert(layer.nativeHandle(component->widget));
    } else {
        designer.model.shownComponent.reset();
    }
}

void addListEntry(design::DesignerState &designer, const QString &entry)
{
    const int index = designer.layer.listAddItem(ComponentList, entry);
    designer.layer.writeProperty(ComponentList, Prop::ListSelection, index);
    showProperties(designer);
}

void selectListEntry(design::DesignerState &designer, int index)
{
    designer.layer.writeProperty(ComponentList, Prop::ListSelection, index);
    showProperties(designer);
}

} // namespace model
