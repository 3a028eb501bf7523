#pragma once

#include "design/dragstate.h"
#include "model/designmodel.h"
#include "shell/platformcheck.h"
#include "widgets/widgetlayer.h"

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

// Everything the designer's handlers work on: the widget layer with its two windows, the one design
// model, the drag in progress and the main window's limits. One per run.
struct Designer
{
    explicit Designer(PlatformVersionSource platformVersion = runningPlatformVersion);
    Designer(const Designer &) = delete;
    Designer &operator=(const Designer &) = delete;

    // Registers both layout tables and loads the main window, which starts everything else.
    void start();

    widgets::WidgetLayer layer;
    model::DesignModel model;
    design::DragState drag;
    MainWindowLimits limits;
    PlatformVersionSource platformVersion;
};

} // namespace shell
