#pragma once

namespace shell {
struct Designer;
}

namespace design {

// A left press on empty design-window area at (x, y) in its client coordinates: places a widget of
// the palette's kind there, or selects the window when the palette holds the pointer.
void onDesignWindowPressed(shell::Designer &designer, int x, int y);

} // namespace design
