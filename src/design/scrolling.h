#pragma once

namespace shell {
struct Designer;
}

namespace design {

// The scroll bars pan the design canvas by their negative positions.
void onHorizontalScroll(shell::Designer &designer);
void onVerticalScroll(shell::Designer &designer);

} // namespace design
