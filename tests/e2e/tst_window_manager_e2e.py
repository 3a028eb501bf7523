#!/usr/bin/python3
"""The built designer under a real window manager (Debian's openbox), where the frame appears only
after the window is shown: the window names itself and carries an icon, and a size asked beyond the
screen or below the start size stops at those limits, the frame counted.
Usage: tst_window_manager_e2e.py KESTRIGAN_BINARY"""

import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, DesktopError, wait_until  # noqa: E402

SCREEN = (1280, 800)


def check(condition, message):
    if not condition:
        raise DesktopError(message)


def sizes(desktop, window):
    """The window's client and outer size, the outer one with the frame openbox gave it."""
    extents = desktop.tool("xprop", "-id", str(window), "_NET_FRAME_EXTENTS").decode().partition("=")[2]
    left, right, top, bottom = map(int, re.findall(r"\d+", extents))
    client = desktop.window_geometry(window)
    return (client.width, client.height), (client.width + left + right, client.height + top + bottom)


def ask_for_size(desktop, window, asked, which, wanted, what):
    """Asks the window manager for a size and waits until the client (which=0) or outer (which=1)
    size is the wanted one."""
    desktop.xdotool("windowsize", window, *asked)
    try:
        wait_until(lambda: sizes(desktop, window)[which] == wanted, 5.0, "")
    except DesktopError:
        raise DesktopError(f"{what} is {sizes(desktop, window)[which]}, not {wanted}") from None


def main(binary):
    check(shutil.which("openbox"), "openbox not found: install Debian's openbox (scripts/setup.sh --tests)")
    with Desktop(width=SCREEN[0], height=SCREEN[1]) as desktop:
        desktop.launch(["openbox", "--sm-disable"])
        wait_until(lambda: b"window id" in desktop.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10.0,
                   "openbox did not take over the screen")
        desktop.launch([binary])
        window = desktop.wait_for_window("Kestrigan 1.2.6.0", exact=True)
        properties = lambda: desktop.tool("xprop", "-id", str(window)).decode("utf-8", "replace")
        wait_until(lambda: "_NET_FRAME_EXTENTS" in properties(), 10.0, "openbox gave the window no frame")
        check('WM_CLASS(STRING) = "kestrigan", "Kestrigan"' in properties(), "unexpected window class")
        check("_NET_WM_ICON" in properties(), "the window carries no icon")
        # Task bars find the desktop entry, its name and icon, by these (a Wayland one by the app id).
        for name in ("_KDE_NET_WM_DESKTOP_FILE", "_GTK_APPLICATION_ID"):
            check(f'{name}(UTF8_STRING) = "org.kestrigan.Kestrigan"' in properties(),
                  f"the window does not name its desktop entry in {name}")

        ask_for_size(desktop, window, (5000, 5000), 1, SCREEN, "a window asked to grow past the screen, frame and all,")
        ask_for_size(desktop, window, (300, 200), 0, (800, 548), "a window asked to shrink below its start size")
    print("window manager checks passed")


if __name__ == "__main__":
    main(sys.argv[1])
