#!/usr/bin/env bash
# Installs the Debian packages that Kestrigan needs, and only those that are missing.
# Usage: scripts/setup.sh [--package | --tests | --bench]
#   --package adds what building the Debian package needs; --tests that and what the test suite
#   needs; --bench what bench/run.sh needs on top of the tests'.
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libqscintilla2-qt6-dev libfontconfig-dev libfreetype-dev libx11-dev libxft-dev fonts-noto-cjk)
if [[ "${1:-}" == "--package" || "${1:-}" == "--tests" || "${1:-}" == "--bench" ]]; then
    # The source package's build: dpkg-buildpackage and Debian's helpers; the Build-Depends of
    # debian/control are among the packages above.
    packages+=(dpkg-dev debhelper)
fi
if [[ "${1:-}" == "--tests" || "${1:-}" == "--bench" ]]; then
    packages+=(xvfb xauth xdotool xclip python3 python3-tk x11-utils imagemagick)
    # The packaging check tells binaries by file.
    packages+=(file)
    # The look test's screens: xrdb sets Xft.dpi, and localedef makes a Chinese locale from the
    # sources in locales.
    packages+=(x11-xserver-utils locales)
    # Validators for the installed desktop entry and AppStream data, and a window manager for
    # checking the main window's size limits under one.
    packages+=(desktop-file-utils appstream openbox)
    # The Wayland rig (tests/wayland): compositors nested in Xvfb with their XWayland, a session bus
    # of its own for KWin and mutter, and Qt's Wayland platform with the Wayland clipboard's tools
    # for measuring the designer drawn on Wayland itself.
    packages+=(weston kwin-wayland mutter xwayland dbus-daemon qt6-wayland wl-clipboard)
    # Debian's own judge of the built package.
    packages+=(lintian)
    # The sanitizer build and the fuzz targets: the release's own clang with its sanitizer and
    # libFuzzer runtimes, and llvm-symbolizer for the reports' stacks. Debian's unversioned packages
    # name the version each release ships (14 on Debian 12, 19 on Debian 13).
    packages+=(clang libclang-rt-dev llvm)
fi
if [[ "${1:-}" == "--bench" ]]; then
    packages+=(libxdamage-dev libxtst-dev)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
