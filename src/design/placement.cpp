#include "design/placement.h"

#include "design/designerstate.h"
#include "design/designwindowids.h"
#include "design/mainwindowids.h"
#include "model/componentkind.h"
#include "model/propertydisplay.h"
#include "widgets/nativewindows.h"

namespace design {

using widgets::ControlRef;
using widgets::Prop;

ControlRef templateOf(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return ids::LabelTemplate;
    case model::ComponentKind::Entry: return ids::EntryTemplate;
    case model::ComponentKind::Button: return ids::ButtonTemplate;
    case model::ComponentKind::RadioButton: return ids::RadioButtonTemplate;
    case model::ComponentKind::CheckButton: return ids::CheckButtonTemplate;
    case model::ComponentKind::Window: break;
    }
    return {};
}

void onPaletteChosen(design::DesignerState &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    const std::optional<model::ComponentKind> kind =
        model::kindOfPaletteItem(layer.readInteger(design::mainwindow::Palette, Prop::MenuCurrentItem));
    if (kind)
        layer.preparePainting(templateOf(*kind));
}

namespace {

void placeKind(design::DesignerState &designer, model::ComponentKind kind, int x, int y)
{
    widgets::WidgetLayer &layer = designer.layer;
    const ControlRef source = templateOf(kind);
    ControlRef placed{source.window, widgets::WindowItself, source.type};
    // Without a widget there is nothing to number or list; the palette keeps its kind for another try.
    if (source.isNull() || !layer.cloneControl(source, placed))
        return;

    const model::Component &component = designer.model.addComponent(layer, kind, placed);
    const QString entry = component.entryText();
    layer.moveControl(placed, x, y, layer.readInteger(placed, Prop::Width), layer.readInteger(placed, Prop::Height));
    layer.writeProperty(placed, Prop::Visible, true);
    layer.writeProperty(placed, Prop::Disabled, false);
    layer.writeProperty(design::mainwindow::Palette, Prop::MenuCurrentItem, 0);
    model::addListEntry(designer, entry);
}

} // namespace

void onPaletteItemDropped(design::DesignerState &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    const std::optional<model::ComponentKind> kind =
        model::kindOfPaletteItem(layer.readInteger(design::mainwindow::Palette, Prop::MenuCurrentItem));
    if (!kind)
        return;
    // The menu tells of the drop while it handles the release, whose sample is the latest; what lies
    // under the pointer is found in the window's own coordinates, as a press would find it.
    namespace native = widgets::native;
    const native::PointerSample release = native::latestPointerSample();
    const quintptr client = layer.clientHandle(ids::DesignWindow);
    const std::optional<QPoint> at = native::positionIn(client, release);
    if (!at || !native::isWithin(native::windowUnder(release), client))
        return;
    const QPoint placed = layer.placedPosition(ids::DesignWindow, *at);
    placeKind(designer, *kind, placed.x(), placed.y());
}

void onDesignWindowPressed(design::DesignerState &designer, int x, int y)
{
    widgets::WidgetLayer &layer = designer.layer;
    const std::optional<model::ComponentKind> kind =
        model::kindOfPaletteItem(layer.readInteger(design::mainwindow::Palette, Prop::MenuCurrentItem));
    if (!kind) {
        model::selectListEntry(designer, 0);
        return;
    }
    placeKind(designer, *kind, x, y);
}

} // namespace design
