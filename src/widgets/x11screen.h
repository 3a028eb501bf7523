#pragma once

#include <QByteArray>
#include <QRgba64>

#include <optional>
#include <utility>

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

// The RESOURCE_MANAGER property of screen 0's root window, read as Tk reads it: at most 400,000 bytes,
// and only when it is a string of bytes. `present` is false when the property is missing or is not.
struct ResourceProperty
{
    bool present = false;
    QByteArray text;
};
std::optional<ResourceProperty> resourceManagerProperty();

// The colour the X server's colour database (or Xlib's own colour spaces) gives the name, exact.
std::optional<QRgba64> colourByName(const QByteArray &name);

// The default screen's width in pixels and in millimetres.
std::optional<std::pair<int, int>> screenWidth();

} // namespace widgets::x11
