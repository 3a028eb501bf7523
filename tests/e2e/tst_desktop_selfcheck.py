#!/usr/bin/python3
"""Proves the desktop helpers on a small Tk window before anyone relies on them for the designer:
find the window, click a button, type into an entry, copy and paste through the clipboard, and
read colours off the screen. Exits 0 when every check holds, 1 with the reason otherwise."""

import os
import struct
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import PYTHON, Desktop, DesktopError, Geometry  # noqa: E402

TITLE = "Kestrigan desktop check 自检"
BACKGROUND = (0x33, 0x66, 0xCC)

# The window prints what happens to it, so the checks can wait for the words.
PROGRAM = f"""
import tkinter
root = tkinter.Tk()
root.title({TITLE!r})
root.geometry('320x200+40+50')
root.configure(background='#%02x%02x%02x')
button = tkinter.Button(root, text='Press', command=lambda: print('clicked', flush=True))
button.place(x=10, y=10, width=100, height=30)
entry = tkinter.Entry(root)
entry.place(x=10, y=60, width=200, height=24)
entry.bind('<Return>', lambda event: print('entry=' + entry.get(), flush=True))
root.after_idle(lambda: print('ready', flush=True))
root.mainloop()
""" % BACKGROUND


def check(condition, message):
    if not condition:
        raise DesktopError(message)


def png_size(path):
    """Width and height of a PNG file, after checking that its image data decompresses."""
    with open(path, "rb") as file:
        data = file.read()
    check(data.startswith(b"\x89PNG\r\n\x1a\n"), f"{path} is not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    start = data.index(b"IDAT") + 4
    length = struct.unpack(">I", data[start - 8:start - 4])[0]
    check(len(zlib.decompress(data[start:start + length])) == height * (1 + width * 3),
          f"{path} has image data of the wrong size")
    return width, height


def main():
    with Desktop() as desktop:
        if not os.access(PYTHON, os.X_OK):
            raise DesktopError(f"{PYTHON} not found: install python3 and python3-tk (scripts/setup.sh --tests)")
        app = desktop.launch([PYTHON, "-c", PROGRAM])
        app.wait_for_output("ready")

        window = desktop.wait_for_window(TITLE, exact=True)
        check(desktop.window_name(window) == TITLE, f"window title reads {desktop.window_name(window)!r}")
        geometry = desktop.window_geometry(window)
        check(geometry == Geometry(40, 50, 320, 200),
              f"window geometry is {geometry}; without a window manager it should be exactly as asked")
        check(desktop.find_windows("no window is called this", exact=True) == [], "search found a phantom window")

        desktop.click(60, 25, window=window)
        app.wait_for_output("clicked")
        check(desktop.pointer() == (40 + 60, 50 + 25), f"pointer is at {desktop.pointer()} after the click")

        desktop.click(100, 72, window=window)
        desktop.type_text("hello world", window=window)
        desktop.key("Return")
        app.wait_for_output("entry=hello world\n")

        # Tk on X11: Control-slash selects all (Control-a goes to the line start), Control-c copies.
        desktop.key("ctrl+slash", "ctrl+c", window=window)
        copied = desktop.clipboard()
        check(copied == "hello world", f"clipboard holds {copied!r} after copying from the entry")

        pasted = "粘贴 'quoted' \\ text"
        desktop.set_clipboard(pasted)
        desktop.key("ctrl+slash", "BackSpace", "ctrl+v", "Return", window=window)
        app.wait_for_output(f"entry={pasted}\n")

        with tempfile.TemporaryDirectory() as directory:
            path = os.path.join(directory, "screen.png")
            screen = desktop.screenshot(path)
            check((screen.width, screen.height) == (1920, 1080), f"screenshot is {screen.width}x{screen.height}")
            check(png_size(path) == (1920, 1080), f"saved PNG is {png_size(path)}")
        check(screen.pixel(40 + 300, 50 + 180) == BACKGROUND,
              f"window background reads {screen.pixel(340, 230)}, expected {BACKGROUND}")
        check(screen.pixel(1000, 1000) == (0, 0, 0), f"root window reads {screen.pixel(1000, 1000)}, expected black")
        check(desktop.pixel(300, 180, window=window) == BACKGROUND, "window-relative pixel misses the background")
        own = desktop.screenshot(window=window)
        check((own.width, own.height) == (320, 200) and own.pixel(0, 199) == BACKGROUND,
              "window screenshot is not the window's area")
        # The button face is not the window background: the screenshot shows widgets, not just a fill.
        check(own.pixel(60, 25) != BACKGROUND, "the button is missing from the screenshot")

        check(app.running(), "the Tk program exited early: " + app.errors())
    check(not app.running(), "close() left the Tk program running")
    print("desktop self-check passed")


if __name__ == "__main__":
    try:
        main()
    except DesktopError as error:
        print(f"FAIL: {error}", file=sys.stderr)
        sys.exit(1)
