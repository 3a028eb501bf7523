#pragma once

namespace shell {

struct Designer;

// The main window's created handler: the platform check, then the start-up in its fixed order.
void onMainWindowCreated(Designer &designer);

// The main window's size-changed handler: lays the controls out for the client size.
void layoutMainWindow(Designer &designer);

} // namespace shell
