#pragma once

// Places components the way the design surface does: clone the kind's hidden template, number it,
// put it on the design window, show and enable it, and list it (which shows its properties).

#include "design/designwindowids.h"
#include "model/designmodel.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"

#include <QString>

namespace testing {

inline widgets::ControlRef templateOf(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return design::ids::LabelTemplate;
    case model::ComponentKind::Entry: return design::ids::EntryTemplate;
    case model::ComponentKind::Button: return design::ids::ButtonTemplate;
    case model::ComponentKind::RadioButton: return design::ids::RadioButtonTemplate;
    case model::ComponentKind::CheckButton: return design::ids::CheckButtonTemplate;
    case model::ComponentKind::Window: break;
    }
    return {};
}

// The new component's widget, or a null reference when the template could not be cloned.
inline widgets::ControlRef place(shell::Designer &designer, model::ComponentKind kind, int x = 10, int y = 10)
{
    widgets::WidgetLayer &layer = designer.layer;
    const widgets::ControlRef source = templateOf(kind);
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

} // namespace testing
