#!/usr/bin/python3
"""The built designer under a real window manager (Debian's openbox) on Xvfb: the window names
itself and carries an icon, and asking the window manager for a size beyond the screen's available
area, or below the size it started with, stops at those limits, the frame counted.
Usage: tst_window_manager_e2e.py KESTRIGAN_BINARY. Exits 0 when every check holds."""

import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, DesktopError, wait_until  # noqa: E402

TITLE = "Kestrigan 1.2.6.0"
SCREEN = (1280, 800)
START_SIZE = (800, 548)


def check(condition, message):
    if not condition:
        raise DesktopError(message)


def numbers(desktop, window, atom):
    """The integers of a window property, or an empty list while it is not set."""
    text = desktop.tool("xprop", "-id", str(window), atom).decode("utf-8", "replace")
    return [int(value) for value in re.findall(r"-?\d+", text.partition("=")[2])]


def outer_size(desktop, window):
    left, right, top, bottom = numbers(desktop, window, "_NET_FRAME_EXTENTS")
    geometry = desktop.window_geometry(window)
    return geometry.width + left + right, geometry.height + top + bottom


def resize_and_settle(desktop, window, width, height):
    desktop.xdotool("windowsize", window, width, height)
    # The window manager answers the request with what the window's size hints allow; wait until
    # the size stops changing.
    last = [None]

    def settled():
        now = desktop.window_geometry(window)
        done = now == last[0]
        last[0] = now
        return done
    wait_until(settled, 5.0, "the window's size did not settle", interval=0.3)


def main(binary):
    if shutil.which("openbox") is None:
        raise DesktopError("openbox not found: install Debian's openbox (scripts/setup.sh --tests)")
    with Desktop(width=SCREEN[0], height=SCREEN[1]) as desktop:
        desktop.launch(["openbox", "--sm-disable"])
        wait_until(lambda: b"window id" in desktop.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   10.0, "openbox did not take over the screen")
        desktop.launch([binary])
        window = desktop.wait_for_window(TITLE, exact=True)
        wait_until(lambda: numbers(desktop, window, "_NET_FRAME_EXTENTS"), 10.0, "openbox gave the window no frame")

        window_class = desktop.tool("xprop", "-id", str(window), "WM_CLASS").decode()
        check('"kestrigan", "Kestrigan"' in window_class, f"unexpected window class: {window_class.strip()}")
        check(len(numbers(desktop, window, "_NET_WM_ICON")) > 2, "the window carries no icon")

        resize_and_settle(desktop, window, 5000, 5000)
        check(outer_size(desktop, window) == SCREEN,
              f"a window asked to grow past the screen is {outer_size(desktop, window)} outside, not {SCREEN}")
        resize_and_settle(desktop, window, 300, 200)
        geometry = desktop.window_geometry(window)
        check((geometry.width, geometry.height) == START_SIZE,
              f"a window asked to shrink is {geometry.width} x {geometry.height}, not its start size {START_SIZE}")
    print("window manager checks passed")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: tst_window_manager_e2e.py KESTRIGAN_BINARY")
    main(sys.argv[1])
