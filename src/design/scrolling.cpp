#include "design/scrolling.h"

#include "design/designerstate.h"
#include "design/mainwindowids.h"

namespace design {

using widgets::Prop;

// The canvas sits at minus the bars' positions; with the maxima at the whole canvas size the far end of
// a bar takes the canvas entirely out of view.
void onHorizontalScroll(design::DesignerState &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    layer.moveControl(design::mainwindow::DesignCanvas, -layer.readInteger(design::mainwindow::HorizontalScrollBar, Prop::ScrollPosition),
                      std::nullopt);
}

void onVerticalScroll(design::DesignerState &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    layer.moveControl(design::mainwindow::DesignCanvas, std::nullopt,
                      -layer.readInteger(design::mainwindow::VerticalScrollBar, Prop::ScrollPosition));
}

} // namespace design
