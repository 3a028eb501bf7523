#pragma once

namespace design {
struct DesignerState;
}

namespace design {

// Bound on the templates, reached by every placed widget through its template: selects the
// component of the widget that raised the event. A check box is set checked first.
void selectPressedWidget(design::DesignerState &designer);

} // namespace design
