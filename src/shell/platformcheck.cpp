#include "shell/platformcheck.h"


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

namespace {

// The leading run of ASCII digits of text from position at; at moves past it.
QStringView leadingDigits(QStringView text, qsizetype &at)
{
    const qsizetype from = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    return text.sliced(from, at - from);
}

} // namespace

PlatformVersion parseKernelRelease(const QString &release)
{
    // "major.minor" at the start, as in "6.1.0-18-amd64"; read by hand, since a regular expression
    // would bring its engine into the start-up for this one line.
    qsizetype at = 0;
    const QStringView major = leadingDigits(release, at);
    if (major.isEmpty() || at >= release.size() || release[at] != u'.')
        return {};
    ++at;
    const QStringView minor = leadingDigits(release, at);
    if (minor.isEmpty())
        return {};
    return {major.toInt(), minor.toInt()};
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
