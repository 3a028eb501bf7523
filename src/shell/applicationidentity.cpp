#include "shell/applicationidentity.h"

#include "shell/applicationicon.h"

#include <QGuiApplication>
#include <QStandardPaths>

namespace shell {

QIcon windowIcon()
{
    // The installed PNGs are found by their paths in the hicolor theme. QIcon::fromTheme finds the same
    // files, but reads the whole theme index (some 4,000 lines) first: a sixth of the start-up's work.
    QIcon installed;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStandardPaths::locate(
            QStandardPaths::GenericDataLocation,
            QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(QLatin1String(DesktopId)));
        if (!path.isEmpty())
            installed.addFile(path, QSize(size, size));
    }
    return installed.isNull() ? applicationIcon() : installed;
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
