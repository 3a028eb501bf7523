#pragma once

namespace design {
struct DesignerState;
}

namespace design {

// The scroll bars pan the design canvas by their negative positions.
void onHorizontalScroll(design::DesignerState &designer);
void onVerticalScroll(design::DesignerState &designer);

} // namespace design
