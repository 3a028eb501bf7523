#include "shell/platformcheck.h"

#include <QRegularExpression>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/utsname.h>
#endif

namespace shell {

PlatformVersion minimumPlatformVersion()
{
#if defined(Q_OS_WIN)
    return {6, 0};
#else
    return {3, 2};
#endif
}

PlatformVersion parseKernelRelease(const QString &release)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\.(\\d+)"));
    const QRegularExpressionMatch match = pattern.match(release);
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

PlatformVersion runningPlatformVersion()
{
#if defined(Q_OS_WIN)
    // GetVersion reports 6.2 on every newer system; the kernel's own answer is the real one.
    using RtlGetVersionFunction = LONG(WINAPI *)(PRTL_OSVERSIONINFOW);
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        if (auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(GetProcAddress(ntdll, "RtlGetVersion"))) {
            if (rtlGetVersion(&info) == 0)
                return {int(info.dwMajorVersion), int(info.dwMinorVersion)};
        }
    }
    return {};
#else
    utsname name{};
    if (uname(&name) != 0)
        return {};
    return parseKernelRelease(QString::fromLocal8Bit(name.release));
#endif
}

bool isSupported(PlatformVersion running, PlatformVersion minimum)
{
    const double runningNumber = running.major + running.minor / 10.0;
    const double minimumNumber = minimum.major + minimum.minor / 10.0;
    return !(runningNumber - minimumNumber < -0.0000001);
}

} // namespace shell
