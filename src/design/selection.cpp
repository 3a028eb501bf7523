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
    // A check box in the design shows what the program's shows, unchecked, and no press ticks it: the
    // layer's Tk look keeps its state out of the pointer's reach, wherever on it the press lands.
    // The tag is the component's number, which is also its entry in the component list.
    const int number = widgets::textToInteger(layer.readText(pressed, Prop::Tag));
    if (!designer.model.componentByNumber(number))
        return;
    model::selectListEntry(designer, number);
}

} // namespace design
