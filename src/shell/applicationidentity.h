#pragma once

#include <QIcon>

namespace shell {

// The name the desktop knows Kestrigan by: its desktop entry is this name plus ".desktop", and its
// icon in the icon theme has this name (both installed by cmake/Packaging.cmake).
inline constexpr char DesktopId[] = "org.kestrigan.Kestrigan";

// The icon installed into the hicolor theme; from the build tree, where none is installed, the icon
// drawn in code.
QIcon windowIcon();

// Gives the running application the names and icon that window managers and task bars show.
// Call after the application object exists and before the first window is created: the X11 window
// class is fixed from the application name when the first window appears.
void setUpApplicationIdentity();

} // namespace shell
