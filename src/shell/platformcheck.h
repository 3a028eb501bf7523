#pragma once

#include <QString>

#include <functional>

namespace shell {

struct PlatformVersion
{
    int major = 0;
    int minor = 0;
};

using PlatformVersionSource = std::function<PlatformVersion()>;

// The oldest platform the designer runs on: Windows 6.0, or on Linux the oldest kernel that the
// C library we build against supports.
PlatformVersion minimumPlatformVersion();

// The running platform's version: the real Windows version, or the running kernel's release.
PlatformVersion runningPlatformVersion();

// Compares as major + minor / 10, so a minor version of 10 or more simply adds 1.0 or more.
bool isSupported(PlatformVersion running, PlatformVersion minimum);

// Reads "major.minor" from the front of a kernel release such as "6.1.0-18-amd64".
PlatformVersion parseKernelRelease(const QString &release);

} // namespace shell
