#include "shell/applicationidentity.h"

#include "shell/applicationicon.h"

#include <QGuiApplication>

namespace shell {

QIcon windowIcon()
{
    return QIcon::fromTheme(QLatin1String(DesktopId), applicationIcon());
}

void setUpApplicationIdentity()
{
    QGuiApplication::setApplicationName(QStringLiteral("Kestrigan"));
    QGuiApplication::setApplicationVersion(QStringLiteral("1.2.6.0"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kestrigan"));
    QGuiApplication::setOrganizationDomain(QStringLiteral("kestrigan.org"));
    // Wayland compositors and start-up notification find the entry, and through it the icon, by this.
    QGuiApplication::setDesktopFileName(QLatin1String(DesktopId));
    QGuiApplication::setWindowIcon(windowIcon());
}

} // namespace shell
