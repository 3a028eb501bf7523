#!/usr/bin/python3
"""The built designer on a real X display, driven only from outside as a person would: the mouse
and keyboard through xdotool, the clipboard through xclip, the look through screenshots.

It places one widget of each kind from the palette, moves one and sizes two with the mouse, edits
values in the property grid, presses the code button, copies the whole program out of the code
view and checks it byte for byte, runs it in real Tk, and checks the accent colours of the window,
code and about panels.

Usage: tst_designer_e2e.py PATH_TO_KESTRIGAN
Exits 0 when every check holds, 1 with the failed step and the reason otherwise (a screenshot of
the moment is kept and named in the message)."""

import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import PYTHON, Desktop, DesktopError, require_tools, wait_until  # noqa: E402
from designerdriver import (ACCENT_GREY, ACCENT_TEXT_GREY, BLUE, CANVAS, DESIGN_CLIENT_SIZE, PALETTE_ROWS,  # noqa: E402
                            TITLE, WHITE, Designer, Step, check, step)

TKPROBE = os.path.join(os.path.dirname(HERE), "tk", "tkprobe.py")


def expected_program(title, left, top, widgets):
    """The generated text for a 300 x 200 window: widgets are (kind, number, text, face, points, rect)."""
    lines = ["from tkinter import *", "", "Window = Tk()", f"Window.title('{title}')",
             f"Window.geometry('{DESIGN_CLIENT_SIZE[0]}x{DESIGN_CLIENT_SIZE[1]}+{left}+{top}')"]
    forms = {
        "label": ("Label", "Label", True, ", anchor=W"),
        "entry": ("Entry", "Entry", False, ""),
        "button": ("Button", "Button", True, ""),
        "radio": ("RadioButton", "Radiobutton", True, ", anchor=W"),
        "check": ("CheckButton", "Checkbutton", True, ", anchor=W"),
    }
    for kind in ("label", "entry", "button", "radio", "check"):
        block = [w for w in widgets if w[0] == kind]
        if block:
            lines.append("")
        for _, number, text, face, points, (x, y, width, height) in block:
            prefix, tk_class, has_text, anchor = forms[kind]
            options = f"text='{text}', " if has_text else ""
            lines.append(f"{prefix}{number} = {tk_class}(Window, {options}font=('{face}', {points}){anchor})"
                         f".place(y={y}, x={x}, width={width}, height={height})")
    lines += ["", "Window.mainloop()"]
    return "\r\n".join(lines)


def run_in_tk(desktop, program):
    """Runs the program in Tk on the desktop's display through tkprobe.py; its window as a dict."""
    check(os.path.isfile(TKPROBE), f"tkprobe.py not found at {TKPROBE}")
    with tempfile.TemporaryDirectory() as directory:
        path = os.path.join(directory, "copied.py")
        with open(path, "wb") as file:
            file.write(program.encode("utf-8"))
        try:
            result = subprocess.run([PYTHON, "-I", "-X", "utf8", TKPROBE, path], capture_output=True, timeout=30,
                                    env=desktop.environment())
        except subprocess.TimeoutExpired:
            raise DesktopError("the copied program did not finish in Tk within 30 s") from None
    check(result.returncode == 0, f"the copied program failed in Tk: {result.stderr.decode('utf-8', 'replace')}")
    return json.loads(result.stdout)


def options_of(line):
    """The variable a generated line assigns and its keyword options in order, for naming what
    differs: {"y": "16", "x": "16", "width": "120", ...}; text and font as written."""
    variable, _, rest = line.partition(" = ")
    # The placement's options after the last ".place(", so that a caption reading "x=" misleads nothing.
    constructor, _, placement = rest.rpartition(".place(")
    options = {}
    for key in ("text", "font", "anchor", "y", "x", "width", "height"):
        source = placement if key in ("y", "x", "width", "height") else constructor
        if key == "x":
            at = source.find(" x=") + 1 or -1
        elif key in ("font", "anchor"):  # after the caption, which may hold anything
            at = source.rfind(key + "=")
        else:
            at = source.find(key + "=")
        if at < 0:
            continue
        value = source[at + len(key) + 1:]
        if value.startswith("'"):
            end = 1
            while end < len(value) and value[end] != "'":
                end += 2 if value[end] == "\\" else 1
            options[key] = value[:end + 1]
        elif value.startswith("("):
            options[key] = value[:value.find(")") + 1]
        else:
            options[key] = value.split(",")[0].split(")")[0]
    return variable.strip(), options


def program_differences(expected, copied):
    """Each line of the copied program that differs from the expected one, naming the widget and
    the option: "Label1: width: expected 120, copied 20"."""
    want, have = expected.split("\n"), copied.split("\n")
    faults = []
    for number, (a, b) in enumerate(zip(want, have), start=1):
        if a == b:
            continue
        variable, options_a = options_of(a)
        variable_b, options_b = options_of(b)
        named = [f"{variable}: {key}: expected {options_a.get(key)}, copied {options_b.get(key)}"
                 for key in options_a.keys() | options_b.keys() if options_a.get(key) != options_b.get(key)]
        if variable == variable_b and named and a.startswith(variable + " = "):
            faults += sorted(named)
        else:
            faults.append(f"line {number}: expected {a!r}, copied {b!r}")
    if len(want) != len(have):
        faults.append(f"the program has {len(have)} lines, expected {len(want)}")
    return faults


def main(binary):
    require_tools("Xvfb", "xdotool", "xclip", "import")
    check(os.access(PYTHON, os.X_OK), f"{PYTHON} not found: install python3 and python3-tk (scripts/setup.sh --tests)")
    check(os.access(binary, os.X_OK), f"the designer {binary} is not built or not executable")
    tk = subprocess.run([PYTHON, "-c", "import tkinter"], capture_output=True, timeout=30)
    check(tk.returncode == 0, f"{PYTHON} has no tkinter: install python3-tk (scripts/setup.sh --tests)")
    with Desktop() as desktop:
        apps = []
        try:
            run(desktop, binary, apps)
        except DesktopError as error:
            shots = tempfile.mkdtemp(prefix="kestrigan-e2e-")
            path = os.path.join(shots, "failure.png")
            try:
                desktop.screenshot(path)
                where = f" (screenshot: {path})"
            except DesktopError:
                where = ""
            for app in apps:
                if not app.running():
                    where += (f"; the designer had exited with code {app.process.returncode}: "
                              f"{app.errors()[-1500:]!r}")
            raise DesktopError(f"step '{Step.current}': {error}{where}") from None
    print("designer end-to-end check passed")


def run(desktop, binary, apps):
    step("start the designer")
    app = desktop.launch([binary])
    apps.append(app)
    window = desktop.wait_for_window(TITLE, exact=True, timeout=15.0)
    designer = Designer(desktop, window)
    check((designer.width, designer.height) == (800, 548),
          f"the main window's client area is {designer.width}x{designer.height}, expected 800x548 at load")
    designer.wait_for_scheme(BLUE, WHITE, "window", "the window panel's blue accents")

    step("find the design window")
    shot = designer.screenshot()
    client = designer.locate_design_client(shot)
    check(client == (CANVAS[0] + 24, CANVAS[1] + 44),
          f"the design window's client area starts at {client}; its frame should put it at (152, 68)")
    check(designer.palette_selected_row(shot) == PALETTE_ROWS["pointer"], "the palette does not start on the pointer")

    step("place one widget of each kind")
    placements = [("label", (16, 16)), ("entry", (16, 48)), ("button", (16, 80)), ("radio", (160, 16)),
                  ("check", (160, 48))]
    for kind, (x, y) in placements:
        designer.choose(kind)
        wait_until(lambda: designer.palette_selected_row(designer.screenshot()) == PALETTE_ROWS[kind], 5.0,
                   f"the palette does not show {kind} chosen")
        designer.click(designer.design(x, y))
        wait_until(lambda: designer.palette_selected_row(designer.screenshot()) == PALETTE_ROWS["pointer"], 5.0,
                   f"after placing a {kind} the palette did not return to the pointer")

    step("move the button by dragging its middle")
    designer.drag(designer.design(16 + 44, 80 + 16), designer.design(16 + 44 + 30, 80 + 16 + 10))

    step("size the radio button by dragging its right edge")
    designer.drag(designer.design(160 + 117, 16 + 10), designer.design(160 + 117 + 20, 16 + 10), steps=5)

    step("size the check button by dragging its bottom edge")
    designer.drag(designer.design(160 + 60, 48 + 17), designer.design(160 + 60, 48 + 17 + 12), steps=4)

    step("type the entry's width into the grid")
    designer.click(designer.design(16 + 60, 48 + 10))
    designer.edit_value(4, "130")

    step("type the label's caption into the grid")
    designer.click(designer.design(16 + 30, 16 + 10))
    designer.edit_value(2, "It's 中文 \\ ok😀")

    step("change the check button's font size with F2")
    designer.click(designer.design(160 + 90, 48 + 10))
    designer.edit_value(8, "12", how="F2")

    step("edit the window's title with a double click, and its left")
    designer.click(designer.design(250, 170))
    designer.edit_value(2, "我的窗口", how="double-click")
    designer.edit_value(4, "-20")

    step("show the code")
    designer.press_panel("code")
    designer.wait_for_scheme(ACCENT_GREY, ACCENT_TEXT_GREY, "code", "the code panel's grey accents")

    step("copy the whole program from the code view")
    copied = designer.copy_code()
    widgets = [
        ("label", 1, "It\\'s 中文 \\\\ ok😀", "微软雅黑", 9, (16, 16, 120, 20)),
        ("entry", 2, None, "微软雅黑", 9, (16, 48, 130, 20)),
        ("button", 3, "按钮", "微软雅黑", 9, (46, 90, 88, 32)),
        ("radio", 4, "单选框", "微软雅黑", 9, (160, 16, 140, 20)),
        ("check", 5, "复选框", "微软雅黑", 12, (160, 48, 120, 32)),
    ]
    expected = expected_program("我的窗口", -20, 100, widgets)
    # The clipboard may turn CR LF into LF; nothing else may differ.
    faults = program_differences(expected.replace("\r\n", "\n"), copied.replace("\r\n", "\n"))
    check(not faults, "the copied program is not the design's:\n  " + "\n  ".join(faults))

    step("the code view stays read-only")
    designer.click((CANVAS[0] + 100, CANVAS[1] + 100))
    desktop.key("x", "Delete", "BackSpace", "ctrl+v", "Return", window=window)
    check(designer.copy_code() == copied, "typing into the code view changed its text")

    step("run the copied program in Tk")
    tk = run_in_tk(desktop, copied)
    check(tk["title"] == "我的窗口" and tk["geometry"] == "300x200+-20+100",
          f"Tk shows the window titled {tk['title']!r} at {tk['geometry']!r}")
    seen = {w["variable"]: w for w in tk["widgets"]}
    texts = {"label": "It's 中文 \\ ok😀"}
    for kind, number, text, face, points, (x, y, width, height) in widgets:
        name = {"label": "Label", "entry": "Entry", "button": "Button", "radio": "RadioButton",
                "check": "CheckButton"}[kind] + str(number)
        check(name in seen, f"Tk shows no {name}")
        w = seen[name]
        actual = (w["x"], w["y"], w["width"], w["height"])
        check(actual == (x, y, width, height), f"{name}: Tk shows it at {actual}, expected {(x, y, width, height)}")
        want_text = texts.get(kind, text)
        check(w["text"] == want_text, f"{name}: text: Tk shows {w['text']!r}, expected {want_text!r}")
        check((w["fontFace"], w["fontPoints"]) == (face, points),
              f"{name}: font: Tk shows {w['fontFace']!r} {w['fontPoints']}, expected {face!r} {points}")

    step("show the about panel")
    designer.press_panel("about")
    designer.desktop.mouse_move(400, 300, window=window)
    designer.wait_for_scheme(ACCENT_GREY, ACCENT_TEXT_GREY, "about", "the about panel's grey accents")

    step("back to the window panel")
    designer.press_panel("window")
    designer.desktop.mouse_move(400, 300, window=window)
    designer.wait_for_scheme(BLUE, WHITE, "window", "the window panel's blue accents after the about panel")
    shot = designer.screenshot()
    check(designer.locate_design_client(shot) == client, "the design window is not back where it was")

    step("the designer is still running")
    check(app.running(), f"the designer exited with code {app.process.returncode}: {app.errors()[-2000:]}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    try:
        main(sys.argv[1])
    except DesktopError as error:
        print(f"FAIL: {error}", file=sys.stderr)
        sys.exit(1)
