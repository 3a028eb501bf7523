#pragma once

#include <optional>

// What the X server says about the screen's resolution, read as Xft reads it. Before the application
// object exists the display named by DISPLAY is asked over a connection of its own; afterwards the
// connection of Qt's xcb platform. Away from X11 (the offscreen platform of the tests, Wayland) there
// are no answers.
namespace widgets::x11 {

// The Xft.dpi resource, when it is set to a positive number.
std::optional<double> xftDpiResource();

// The default screen's height in pixels over its height in millimetres, in dots per inch: what Xft
// takes when the resource is unset.
std::optional<double> physicalDotsPerInch();

} // namespace widgets::x11
