#include "design/scrolling.h"

#include "shell/designer.h"
#include "shell/mainwindowids.h"

namespace design {

using widgets::Prop;

// The canvas sits at minus the bars' positions; with the maxima at the whole canvas size the far end of
// a bar takes the canvas entirely out of view.
void onHorizontalScroll(shell::Designer &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    layer.moveControl(shell::ids::DesignCanvas, -layer.readInteger(shell::ids::HorizontalScrollBar, Prop::ScrollPosition),
                      std::nullopt);
}

void onVerticalScroll(shell::Designer &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    layer.moveControl(shell::ids::DesignCanvas, std::nullopt,
                      -layer.readInteger(shell::ids::VerticalScrollBar, Prop::ScrollPosition));
}

} // namespace design
