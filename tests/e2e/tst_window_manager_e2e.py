#!/usr/bin/python3
"""The built designer under a real window manager (Debian's openbox), where the frame appears only
after the window is shown: the window names itself and carries an icon, and a size asked beyond the
screen or below the start size stops at those limits, the frame counted. Without a window manager
and under openbox alike, the main window starts centred on the screen, by its frame where it has one.
Usage: tst_window_manager_e2e.py KESTRIGAN_BINARY"""

import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, DesktopError, wait_until  # noqa: E402

SCREEN = (1280, 800)
START_SIZE = (800, 548)


def check(condition, message):
    if not condition:
        raise DesktopError(message)


def frame_extents(desktop, window):
    """The frame the window manager gave the window (left, right, top, bottom); none without one."""
    extents = desktop.tool("xprop", "-id", str(window), "_NET_FRAME_EXTENTS").decode().partition("=")[2]
    found = list(map(int, re.findall(r"\d+", extents)))
    return tuple(found) if len(found) == 4 else (0, 0, 0, 0)


def sizes(desktop, window):
    """The window's client and outer size, the outer one with the frame openbox gave it."""
    left, right, top, bottom = frame_extents(desktop, window)
    client = desktop.window_geometry(window)
    return (client.width, client.height), (client.width + left + right, client.height + top + bottom)


def outer_rectangle(desktop, window):
    left, right, top, bottom = frame_extents(desktop, window)
    client = desktop.window_geometry(window)
    return (client.x - left, client.y - top, client.width + left + right, client.height + top + bottom)


def check_centred(desktop, window, outer_size, what):
    """The window's outer rectangle stands in the middle of the screen, which has no panels here."""
    wanted = ((SCREEN[0] - outer_size[0]) // 2, (SCREEN[1] - outer_size[1]) // 2, *outer_size)
    try:
        wait_until(lambda: outer_rectangle(desktop, window) == wanted, 5.0, "")
    except DesktopError:
        raise DesktopError(f"{what}: the window stands at {outer_rectangle(desktop, window)}, "
                           f"not centred at {wanted}") from None


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
        # Without a window manager the window is all there is: centred by its own size.
        alone = desktop.launch([binary])
        window = desktop.wait_for_window("Kestrigan 1.2.6.0", exact=True)
        check_centred(desktop, window, START_SIZE, "without a window manager")
        alone.stop()
        wait_until(lambda: not desktop.find_windows("Kestrigan 1.2.6.0", exact=True), 10.0,
                   "the designer's window stayed after it was stopped")

        desktop.launch(["openbox", "--sm-disable"])
        wait_until(lambda: b"window id" in desktop.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10.0,
                   "openbox did not take over the screen")
        desktop.launch([binary])
        window = desktop.wait_for_window("Kestrigan 1.2.6.0", exact=True)
        properties = lambda: desktop.tool("xprop", "-id", str(window)).decode("utf-8", "replace")
        wait_until(lambda: "_NET_FRAME_EXTENTS" in properties(), 10.0, "openbox gave the window no frame")
        check_centred(desktop, window, sizes(desktop, window)[1], "under openbox")
        check('WM_CLASS(STRING) = "kestrigan", "Kestrigan"' in properties(), "unexpected window class")
        check("_NET_WM_ICON" in properties(), "the window carries no icon")
        # Task bars find the desktop entry, its name and icon, by these (a Wayland one by the app id).
        for name in ("_KDE_NET_WM_DESKTOP_FILE", "_GTK_APPLICATION_ID"):
            check(f'{name}(UTF8_STRING) = "org.kestrigan.Kestrigan"' in properties(),
                  f"the window does not name its desktop entry in {name}")

        ask_for_size(desktop, window, (5000, 5000), 1, SCREEN, "a window asked to grow past the screen, frame and all,")
        ask_for_size(desktop, window, (300, 200), 0, START_SIZE, "a window asked to shrink below its start size")
    print("window manager checks passed")


if __name__ == "__main__":
    main(sys.argv[1])
