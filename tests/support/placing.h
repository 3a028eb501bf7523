#pragma once

// Places components the way the design window does, without a pointer: for tests of what comes
// after placement (the grid, the generator, the panels).

#include "design/designwindowids.h"
#include "design/placement.h"
#include "model/designmodel.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"

namespace testsupport {

// The new component's widget, or a null reference when the template could not be cloned.
inline widgets::ControlRef place(shell::Designer &designer, model::ComponentKind kind, int x = 10, int y = 10)
{
    widgets::WidgetLayer &layer = designer.layer;
    const widgets::ControlRef source = design::templateOf(kind);
    widgets::ControlRef widget{0, 0, source.type};
    if (!layer.cloneControl(source, widget))
        return {};
    const model::Component &component = designer.model.addComponent(layer, kind, widget);
    layer.moveControl(widget, x, y);
    layer.writeProperty(widget, widgets::Prop::Visible, true);
    layer.writeProperty(widget, widgets::Prop::Disabled, false);
    model::addListEntry(designer, component.entryText());
    return widget;
}

// Gives the design window a client area of that size, whatever its frame.
inline void setDesignClientSize(shell::Designer &designer, int width, int height)
{
    widgets::WidgetLayer &layer = designer.layer;
    const widgets::ControlRef window = design::ids::DesignWindow;
    const int frameWidth = layer.readInteger(window, widgets::Prop::Width) - layer.clientWidth(window);
    const int frameHeight = layer.readInteger(window, widgets::Prop::Height) - layer.clientHeight(window);
    layer.moveControl(window, std::nullopt, std::nullopt, frameWidth + width, frameHeight + height);
}

} // namespace testsupport
