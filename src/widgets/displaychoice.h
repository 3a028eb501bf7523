#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Which display the designer draws on, chosen before Qt connects to one. Generated programs run in
// Tk, which draws on the X server that DISPLAY names, through XWayland in a Wayland session; the
// design window must show their pixels, so it takes the same way: Qt's xcb platform whenever that X
// server answers. A platform the user names in QT_QPA_PLATFORM is kept.
namespace widgets {

// Where Qt would find a display: what the environment names and whether each one answers.
struct DisplayEnvironment
{
    QByteArray requestedPlatforms;    // QT_QPA_PLATFORM: Qt's list, "name[:options];..."; empty if unset
    bool xServerAnswers = false;      // DISPLAY names an X server that takes a connection
    bool waylandAnswers = false;      // WAYLAND_DISPLAY (or WAYLAND_SOCKET) names a compositor that does
    bool waylandPluginInstalled = false;
};

// The platform list to give Qt, or none when no display that Qt could use answers. A requested list is
// answered as it is when one of its entries can start.
std::optional<QByteArray> choosePlatform(const DisplayEnvironment &environment);

// The environment of this process, each display tried once.
DisplayEnvironment probeDisplayEnvironment();

// The message for a start without a display, in the interface's language.
QString noDisplayMessage();

// Call before the application object is made: sets QT_QPA_PLATFORM to the choice. False, with the
// message on standard error, when there is no display to start on.
bool prepareDisplay();

} // namespace widgets
