#include "widgets/displaychoice.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

#include <X11/Xlib.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace widgets {

namespace {

bool xServerAnswers()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

// The compositor's socket as libwayland finds it: WAYLAND_DISPLAY, a path or a name in the runtime
// folder, "wayland-0" when unset.
QString waylandSocketPath()
{
    const QString name = qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QStringLiteral("wayland-0")
                                                                         : qEnvironmentVariable("WAYLAND_DISPLAY");
    if (QDir::isAbsolutePath(name))
        return name;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QString() : runtime + QLatin1Char('/') + name;
}

bool waylandAnswers()
{
    // A socket handed down by whoever started us is the compositor's word that it is there.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    const QByteArray path = QFile::encodeName(waylandSocketPath());
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool connected = ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
    ::close(socket);
    return connected;
}

bool waylandPluginInstalled()
{
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath)
                             + QStringLiteral("/platforms/libqwayland-generic.so"));
}

bool canStart(const QByteArray &platform, const DisplayEnvironment &environment)
{
    if (platform == "xcb")
        return environment.xServerAnswers;
    if (platform.startsWith("wayland"))
        return environment.waylandAnswers && environment.waylandPluginInstalled;
    // offscreen, minimal, vnc, eglfs ...: they need no display of a desktop, or find their own.
    return !platform.isEmpty();
}

} // namespace

std::optional<QByteArray> choosePlatform(const DisplayEnvironment &environment)
{
    if (!environment.requestedPlatforms.isEmpty()) {
        for (const QByteArray &entry : environment.requestedPlatforms.split(';')) {
            const QByteArray name = entry.split(':').constFirst().trimmed();
            if (canStart(name, environment))
                return environment.requestedPlatforms;
        }
        return std::nullopt;
    }
    if (environment.xServerAnswers)
        return QByteArrayLiteral("xcb");
    if (environment.waylandAnswers && environment.waylandPluginInstalled)
        return QByteArrayLiteral("wayland");
    return std::nullopt;
}

DisplayEnvironment probeDisplayEnvironment()
{
    DisplayEnvironment environment;
    environment.requestedPlatforms = qgetenv("QT_QPA_PLATFORM").trimmed();
    environment.xServerAnswers = xServerAnswers();
    environment.waylandAnswers = waylandAnswers();
    environment.waylandPluginInstalled = waylandPluginInstalled();
    return environment;
}

QString noDisplayMessage()
{
    QString message = QStringLiteral("Kestrigan 无法启动: 没有可用的显示。");
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        message += QStringLiteral("\n无法连接到 X 显示 \"%1\"。").arg(qEnvironmentVariable("DISPLAY"));
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        message += QStringLiteral("\n无法连接到 Wayland 显示 \"%1\"。").arg(qEnvironmentVariable("WAYLAND_DISPLAY"));
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        message += QStringLiteral("\nQT_QPA_PLATFORM 指定的平台 \"%1\" 都无法使用。").arg(qEnvironmentVariable("QT_QPA_PLATFORM"));
    message += QStringLiteral("\n请在图形桌面中启动它: DISPLAY 应指向一个 X 服务器 (Tk 程序也在那里显示)，"
                              "或 WAYLAND_DISPLAY 指向一个 Wayland 合成器。");
    return message;
}

bool prepareDisplay()
{
    const std::optional<QByteArray> platform = choosePlatform(probeDisplayEnvironment());
    if (!platform) {
        std::fprintf(stderr, "%s\n", noDisplayMessage().toUtf8().constData());
        return false;
    }
    qputenv("QT_QPA_PLATFORM", *platform);
    return true;
}

} // namespace widgets
