#pragma once

#include <optional>

// What the X server that DISPLAY names says about the screen's resolution, read as Xft reads it: the
// server on which Tk shows the generated programs. Asked over the connection of Qt's xcb platform
// once there is one, else over a connection of its own, also while Qt itself runs on Wayland. Without
// an X server (the offscreen platform of the tests) there are no answers.
namespace widgets::x11 {

// The Xft.dpi resource, when it is set to a positive number.
std::optional<double> xftDpiResource();

// The default screen's height in pixels over its height in millimetres, in dots per inch: what Xft
// takes when the resource is unset.
std::optional<double> physicalDotsPerInch();

// Names the application's desktop entry (its file name without ".desktop") on a top-level window of
// Qt's xcb platform, as KDE's and GTK's task bars look it up for X programs: through it they find the
// entry's name and icon, as a Wayland compositor does through the application id. Elsewhere nothing.
void nameDesktopEntry(unsigned long window, const QByteArray &desktopId);

} // namespace widgets::x11
