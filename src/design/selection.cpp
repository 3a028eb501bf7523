#include "design/selection.h"

#include "design/designerstate.h"
#include "model/propertydisplay.h"
#include "widgets/textconversion.h"

namespace design {

using widgets::Prop;

void selectPressedWidget(design::DesignerState &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    // A placed widget answers through its template's binding; the source is the widget itself.
    const widgets::ControlRef pressed = layer.eventSource();
    // The press checks it and the check box's own toggle on release clears it again, so a check box in
    // the design ends unchecked however often it is clicked.
    if (pressed.type == widgets::ControlType::CheckBox)
        layer.writeProperty(pressed, Prop::Checked, true);
    // The tag is the component's number, which is also its entry in the component list.
    const int number = widgets::textToInteger(layer.readText(pressed, Prop::Tag));
    if (!designer.model.componentByNumber(number))
        return;
    model::selectListEntry(designer, number);
}

} // namespace design
