#pragma once

namespace shell {
struct Designer;
}

namespace design {

// Starts the pointer device's polling.
void setUpPointerDevice(shell::Designer &designer);

// The pointer device's button notification: key 256 left, 257 right, 258 middle;
// state 2 pressed, 1 released.
void onButtonChanged(shell::Designer &designer, int key, int state);

} // namespace design
