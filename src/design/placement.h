#pragma once

#include "model/componentkind.h"
#include "widgets/controlref.h"

namespace design {
struct DesignerState;
}

namespace design {

// The hidden template a new widget of the kind is cloned from; a null reference for the window.
widgets::ControlRef templateOf(model::ComponentKind kind);

// The user chose an item of the palette: a placement is to follow, so the template of its kind gets
// ready to paint now, and the new widget shows at once.
void onPaletteChosen(design::DesignerState &designer);

// An item of the palette was dragged out of it and let go: a widget of its kind is placed where the
// button went up, if that is on the design window's client area (on a widget there too).
void onPaletteItemDropped(design::DesignerState &designer);

// A left press on empty design-window area at (x, y) in its client coordinates: places a widget of
// the palette's kind there, or selects the window when the palette holds the pointer.
void onDesignWindowPressed(design::DesignerState &designer, int x, int y);

} // namespace design
