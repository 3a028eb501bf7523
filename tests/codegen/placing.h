#pragma once

#include "design/designwindowids.h"
#include "model/componentkind.h"
#include "model/designmodel.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"

#include <QtTest>

// Places components the way the design surface does: clone the kind's hidden template, number it,
// move it, show and enable it, and list it. Tests use it to build designs without the mouse.
namespace placing {

inline widgets::ControlRef templateOf(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return design::ids::LabelTemplate;
    case model::ComponentKind::Entry: return design::ids::EntryTemplate;
    case model::ComponentKind::Button: return design::ids::ButtonTemplate;
    case model::ComponentKind::RadioButton: return design::ids::RadioButtonTemplate;
    case model::ComponentKind::CheckButton:
    case model::ComponentKind::Window: break;
    }
    return design::ids::CheckButtonTemplate;
}

// The property that holds the kind's caption, and the one that holds its font.
inline widgets::Prop captionProperty(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return widgets::Prop::LabelText;
    case model::ComponentKind::Entry: return widgets::Prop::EntryText;
    case model::ComponentKind::Button: return widgets::Prop::ButtonCaption;
    default: return widgets::Prop::CheckCaption;
    }
}

inline widgets::Prop fontProperty(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return widgets::Prop::LabelFont;
    case model::ComponentKind::Entry: return widgets::Prop::EntryFont;
    case model::ComponentKind::Button: return widgets::Prop::ButtonFont;
    default: return widgets::Prop::CheckFont;
    }
}

// The widget placed at (x, y) in the design window's client area, keeping the template's caption,
// size and font. A failed clone fails the calling test.
inline widgets::ControlRef place(shell::Designer &d, model::ComponentKind kind, int x, int y)
{
    const widgets::ControlRef source = templateOf(kind);
    widgets::ControlRef w{0, 0, source.type};
    if (!d.layer.cloneControl(source, w)) {
        QTest::qFail("cloning the template failed", __FILE__, __LINE__);
        return w;
    }
    const model::Component &c = d.model.addComponent(d.layer, kind, w);
    d.layer.moveControl(w, x, y);
    d.layer.writeProperty(w, widgets::Prop::Visible, true);
    d.layer.writeProperty(w, widgets::Prop::Disabled, false);
    model::addListEntry(d, c.entryText());
    return w;
}

// Gives the design window a client area of that size, whatever its frame.
inline void setDesignClientSize(shell::Designer &d, int width, int height)
{
    const widgets::ControlRef window = design::ids::DesignWindow;
    const int frameWidth = d.layer.readInteger(window, widgets::Prop::Width) - d.layer.clientWidth(window);
    const int frameHeight = d.layer.readInteger(window, widgets::Prop::Height) - d.layer.clientHeight(window);
    d.layer.moveControl(window, std::nullopt, std::nullopt, frameWidth + width, frameHeight + height);
}

} // namespace placing
