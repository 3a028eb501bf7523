#pragma once

#include "model/componentkind.h"
#include "widgets/controlref.h"

namespace design {
struct DesignerState;
}

namespace design {

// The hidden template a new widget of the kind is cloned from; a null reference for the window.
widgets::ControlRef templateOf(model::ComponentKind kind);

// A left press on empty design-window area at (x, y) in its client coordinates: places a widget of
// the palette's kind there, or selects the window when the palette holds the pointer.
void onDesignWindowPressed(design::DesignerState &designer, int x, int y);

} // namespace design
