#pragma once

#include "design/designerstate.h"
#include "shell/platformcheck.h"

namespace shell {

// The main window's size limits, fixed at start-up. The smallest is the client size it starts with;
// the largest is the screen's available area, the window manager's frame included.
struct MainWindowLimits
{
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

// The designer for one run: the state its handlers work on, and the main window's limits.
struct Designer : design::DesignerState
{
    explicit Designer(PlatformVersionSource platformVersion = runningPlatformVersion);
    Designer(const Designer &) = delete;
    Designer &operator=(const Designer &) = delete;

    // Registers both layout tables and loads the main window, which starts everything else.
    void start();

    MainWindowLimits limits;
    PlatformVersionSource platformVersion;
};

} // namespace shell
