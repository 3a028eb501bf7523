#pragma once

namespace shell {

struct Designer;

// Each sets the whole mode: current page, design tools enabled or not, panel-button and accent colours.
void showWindowPanel(Designer &designer);
void showCodePanel(Designer &designer);
void showAboutPanel(Designer &designer);

} // namespace shell
