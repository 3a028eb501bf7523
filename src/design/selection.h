#pragma once

namespace shell {
struct Designer;
}

namespace design {

// Bound on the templates, reached by every placed widget through its template: selects the
// component of the widget that raised the event. A check box is set checked first.
void selectPressedWidget(shell::Designer &designer);

} // namespace design
