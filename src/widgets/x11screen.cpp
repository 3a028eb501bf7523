#include "widgets/x11screen.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <functional>

namespace widgets::x11 {

namespace {

// Runs `ask` on the X server that DISPLAY names, where generated programs show their windows: over
// Qt's connection once the application runs on xcb; before that, or when Qt runs on Wayland, over
// one opened for it.
template<typename Answer>
std::optional<Answer> askDisplay(const std::function<std::optional<Answer>(Display *)> &ask)
{
    if (qGuiApp) {
        const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 && x11->display())
            return ask(x11->display());
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::nullopt;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return std::nullopt;
    const std::optional<Answer> answer = ask(display);
    XCloseDisplay(display);
    return answer;
}

} // namespace

std::optional<double> xftDpiResource()
{
    return askDisplay<double>([](Display *display) -> std::optional<double> {
        // The resource database of the connection, matched the way Xft matches it ("Xft.dpi", "*dpi").
        const char *value = XGetDefault(display, "Xft", "dpi");
        if (!value)
            return std::nullopt;
        char *end = nullptr;
        const double dpi = std::strtod(value, &end);
        return end != value && dpi > 0 && dpi < 10000 ? std::optional<double>(dpi) : std::nullopt;
    });
}

void nameDesktopEntry(unsigned long window, const QByteArray &desktopId)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display() || window == 0 || desktopId.isEmpty())
        return;
    Display *display = x11->display();
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (const char *name : {"_KDE_NET_WM_DESKTOP_FILE", "_GTK_APPLICATION_ID"}) {
        XChangeProperty(display, window, XInternAtom(display, name, False), utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(desktopId.constData()), int(desktopId.size()));
    }
    XFlush(display);
}

std::optional<double> physicalDotsPerInch()
{
    return askDisplay<double>([](Display *display) -> std::optional<double> {
        const int screen = DefaultScreen(display);
        const int millimetres = DisplayHeightMM(display, screen);
        if (millimetres <= 0)
            return std::nullopt;
        return DisplayHeight(display, screen) * 25.4 / millimetres;
    });
}

std::optional<ResourceProperty> resourceManagerProperty()
{
    return askDisplay<ResourceProperty>([](Display *display) -> std::optional<ResourceProperty> {
        // Tk asks for 100,000 32-bit units and takes what comes, the rest of a longer text unread.
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        const int status = XGetWindowProperty(display, RootWindow(display, 0), XA_RESOURCE_MANAGER, 0, 100000,
                                              False, XA_STRING, &type, &format, &items, &after, &data);
        ResourceProperty property;
        if (status == Success && type == XA_STRING && format == 8) {
            property.present = true;
            property.text = QByteArray(reinterpret_cast<const char *>(data), qsizetype(items));
        }
        if (data)
            XFree(data);
        return property;
    });
}

std::optional<QRgba64> colourByName(const QByteArray &name)
{
    return askDisplay<QRgba64>([&name](Display *display) -> std::optional<QRgba64> {
        XColor colour{};
        if (!XParseColor(display, DefaultColormap(display, DefaultScreen(display)), name.constData(), &colour))
            return std::nullopt;
        return QRgba64::fromRgba64(colour.red, colour.green, colour.blue, 0xFFFF);
    });
}

std::optional<std::pair<int, int>> screenWidth()
{
    return askDisplay<std::pair<int, int>>([](Display *display) -> std::optional<std::pair<int, int>> {
        const int screen = DefaultScreen(display);
        return std::pair(DisplayWidth(display, screen), DisplayWidthMM(display, screen));
    });
}

} // namespace widgets::x11
