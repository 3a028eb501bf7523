#pragma once

#include "design/dragstate.h"
#include "model/designmodel.h"
#include "widgets/widgetlayer.h"

namespace design {

// What the designer's handlers work on: the widget layer with its two windows, the one design model
// and the drag in progress. The shell owns it for the run.
struct DesignerState
{
    DesignerState() = default;
    DesignerState(const DesignerState &) = delete;
    DesignerState &operator=(const DesignerState &) = delete;

    widgets::WidgetLayer layer;
    model::DesignModel model;
    DragState drag;
};

} // namespace design
