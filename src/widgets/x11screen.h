#pragma once

#include <QByteArray>
#include <QRgba64>

#include <optional>
#include <utility>

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
