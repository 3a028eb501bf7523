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
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from desktop import PYTHON, Desktop, DesktopError, require_tools, wait_until  # noqa: E402

TKPROBE = os.path.join(os.path.dirname(HERE), "tk", "tkprobe.py")
TITLE = "Kestrigan 1.2.6.0"

BLUE = (0, 122, 204)
WHITE = (255, 255, 255)
ACCENT_GREY = (231, 231, 231)
ACCENT_TEXT_GREY = (128, 128, 128)
PLAIN_BUTTON = (240, 240, 240)
SELECTED_ITEM = (128, 128, 128)

# The main window's layout at its load size, in its client coordinates.
PALETTE_HEADER_HEIGHT = 24
PALETTE_ITEM_HEIGHT = 24
PANEL_BUTTONS = {"window": (128, 1), "code": (208, 1), "about": (288, 1)}
PANEL_BUTTON_SIZE = (80, 21)
RIGHT_COLUMN = 178          # heading, component list and grid stand this far from the right edge
STATUS_BAR_HEIGHT = 24
GRID_TOP = 66               # heading 23 + list 25 + 18
GRID_ROW_HEIGHT = 26
GRID_LABEL_WIDTH = 60
CANVAS = (128, 24)          # the window panel's top-left corner
DESIGN_CLIENT_SIZE = (300, 200)

PALETTE_ROWS = {"pointer": 0, "label": 1, "entry": 2, "button": 3, "radio": 4, "check": 5}

# How long the pointer rests after a press and before a release, so that the designer's polled
# pointer device (every 10 ms) sees the press where it happened and the drag's last position.
SETTLE = 0.4


class Step:
    """Names the step that runs, so a failure says where it happened."""
    current = "start-up"


def step(name):
    Step.current = name
    print(f"-- {name}", flush=True)


def check(condition, message):
    if not condition:
        raise DesktopError(message)


class Designer:
    """The designer's main window on the desktop, addressed by its known layout."""

    def __init__(self, desktop, window):
        self.desktop = desktop
        self.window = window
        geometry = desktop.window_geometry(window)
        self.width, self.height = geometry.width, geometry.height
        self.client = None  # the design window's client area, (left, top) in window coordinates
        self.frame_side = 0  # the design window's frame beside and below its client area

    # ---- positions ----

    def palette_item(self, row):
        return (64, PALETTE_HEADER_HEIGHT + PALETTE_ITEM_HEIGHT * row + PALETTE_ITEM_HEIGHT // 2)

    def panel_button(self, name):
        left, top = PANEL_BUTTONS[name]
        return (left + PANEL_BUTTON_SIZE[0] // 2, top + PANEL_BUTTON_SIZE[1] // 2)

    def grid_value(self, row):
        return (self.width - RIGHT_COLUMN + 1 + GRID_LABEL_WIDTH + 57,
                GRID_TOP + 1 + GRID_ROW_HEIGHT * row + GRID_ROW_HEIGHT // 2)

    def design(self, x, y):
        """A point of the design window's client area in window coordinates."""
        return (self.client[0] + x, self.client[1] + y)

    # ---- gestures ----

    def click(self, point, repeat=1):
        self.desktop.click(*point, window=self.window, repeat=repeat)

    def choose(self, kind):
        self.click(self.palette_item(PALETTE_ROWS[kind]))

    def press_panel(self, name):
        self.click(self.panel_button(name))

    def drag(self, start, end, steps=10):
        """Presses at start, moves to end in steps and releases, resting after the press and
        before the release so that the polled pointer device sees both where they happen."""
        d = self.desktop
        d.mouse_move(*start, window=self.window)
        d.mouse_down()
        try:
            time.sleep(SETTLE)
            (x0, y0), (x1, y1) = start, end
            for i in range(1, steps + 1):
                d.mouse_move(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), window=self.window)
                time.sleep(0.02)
            time.sleep(SETTLE)
        finally:
            d.mouse_up()
        time.sleep(0.1)

    # ---- what the pointer cases ask of a designer on any desktop (pointer_cases.py) ----

    def palette_point(self, kind):
        return self.palette_item(PALETTE_ROWS[kind])

    def pointer_chosen(self):
        return self.palette_selected_row(self.screenshot()) == PALETTE_ROWS["pointer"]

    def design_pixels(self, rect):
        """The design's pixels in the rectangle of its client area, row by row."""
        shot = self.screenshot()
        x0, y0, width, height = rect
        return [shot.pixel(*self.design(x0 + dx, y0 + dy)) for dy in range(height) for dx in range(width)]

    def hover(self, point):
        self.desktop.mouse_move(*point, window=self.window)
        time.sleep(SETTLE)

    def program(self):
        """The program, copied out of the code view; the window panel shows again afterwards."""
        self.press_panel("code")
        time.sleep(SETTLE)
        text = self.copy_code()
        self.press_panel("window")
        time.sleep(SETTLE)
        return text

    def flick(self, start, delta):
        """Presses at start, moves by delta and releases, all at once: within a few milliseconds,
        before the pointer device polls once."""
        d = self.desktop
        d.mouse_move(*start, window=self.window)
        time.sleep(SETTLE)
        x, y = d._absolute(*start, self.window)
        d.xdotool("mousedown", 1, "mousemove", x + delta[0], y + delta[1], "mouseup", 1)
        time.sleep(SETTLE)

    def edit_value(self, row, text, how="type"):
        """Edits a grid value: selects the cell with a click, then types over it ("type"), or opens
        it with F2 or a double click first and replaces its text, and ends with Return."""
        cell = self.grid_value(row)
        if how == "double-click":
            self.click(cell, repeat=2)
            self.desktop.key("ctrl+a", window=self.window)
        else:
            self.click(cell)
            if how == "F2":
                self.desktop.key("F2", "ctrl+a", window=self.window)
        self.desktop.type_text(text, window=self.window)
        self.desktop.key("Return", window=self.window)

    def copy_code(self):
        """Clicks into the code view, selects everything and copies it; the clipboard's text."""
        self.click((CANVAS[0] + 200, CANVAS[1] + 200))
        self.desktop.set_clipboard("(nothing copied yet)")
        self.desktop.key("ctrl+a", "ctrl+c", window=self.window)
        return wait_until(lambda: self._copied(), 5.0, "Ctrl+A, Ctrl+C in the code view put nothing on the clipboard")

    def _copied(self):
        text = self.desktop.clipboard()
        return text if text != "(nothing copied yet)" else None

    # ---- looks ----

    def screenshot(self):
        return self.desktop.screenshot(window=self.window)

    def palette_selected_row(self, shot):
        """The palette row drawn as selected (its marker bar), or None."""
        rows = [row for row in PALETTE_ROWS.values()
                if shot.pixel(6, PALETTE_HEADER_HEIGHT + PALETTE_ITEM_HEIGHT * row + PALETTE_ITEM_HEIGHT // 2)
                == SELECTED_ITEM]
        return rows[0] if len(rows) == 1 else None

    def accent_samples(self):
        """Background points of the three accent parts: the palette's group header (left of its
        centred caption), the heading "组件属性" (left of its caption), the status bar (right of its
        left-aligned text)."""
        return {
            "palette header": (3, 4),
            "heading 组件属性": (self.width - RIGHT_COLUMN + 4, 4),
            "status bar": (self.width - 4, self.height - STATUS_BAR_HEIGHT // 2),
        }

    def accent_areas(self):
        """The rectangles (left, top, width, height) of the three accent parts, with their captions."""
        return {
            "palette header": (0, 0, 128, PALETTE_HEADER_HEIGHT),
            "heading 组件属性": (self.width - RIGHT_COLUMN, 1, RIGHT_COLUMN - 1, 23),
            "status bar": (0, self.height - STATUS_BAR_HEIGHT, self.width, STATUS_BAR_HEIGHT),
        }

    @staticmethod
    def shows_colour(shot, area, colour):
        """True when some pixel of the area has exactly the colour (the core of a caption's strokes)."""
        left, top, width, height = area
        return any(shot.pixel(x, y) == colour for y in range(top, top + height) for x in range(left, left + width))

    def scheme_faults(self, shot, accent, text, highlighted):
        faults = []
        for name, (x, y) in self.accent_samples().items():
            if shot.pixel(x, y) != accent:
                faults.append(f"{name} at ({x}, {y}) is {shot.pixel(x, y)}, expected {accent}")
        for name, area in self.accent_areas().items():
            if not self.shows_colour(shot, area, text):
                faults.append(f"{name} shows no text in {text}")
        for name, (left, top) in PANEL_BUTTONS.items():
            back, ink = (BLUE, WHITE) if name == highlighted else (PLAIN_BUTTON, SELECTED_ITEM)
            for x, y in ((left + 3, top + 3), (left + PANEL_BUTTON_SIZE[0] - 4, top + PANEL_BUTTON_SIZE[1] - 4)):
                if shot.pixel(x, y) != back:
                    faults.append(f"{name} panel button at ({x}, {y}) is {shot.pixel(x, y)}, expected {back}")
            if not self.shows_colour(shot, (left, top) + PANEL_BUTTON_SIZE, ink):
                faults.append(f"{name} panel button shows no caption in {ink}")
        return faults

    def wait_for_scheme(self, accent, text, highlighted, what):
        """Waits until the window wears the scheme; the faults of the last look otherwise. The
        pointer must be away from the plain buttons, which light up under it."""
        last = []

        def settled():
            last[:] = self.scheme_faults(self.screenshot(), accent, text, highlighted)
            return not last
        try:
            wait_until(settled, 5.0, what)
        except DesktopError:
            raise DesktopError(f"{what}: " + "; ".join(last)) from None

    def locate_design_client(self, shot):
        """Finds the design window's client area by colour. The design window is the only thing
        on the window panel that is not white: its frame's outline gives its outer rectangle. The
        client area is filled with one colour, read in its bottom-left corner (where no widget may
        stand); its top is the first row of that colour all across, below the caption bar, whose
        text may be white but not its bar. The side and bottom frames are equally thick and share
        what the outer width has beyond the client width."""
        left0, top0 = CANVAS
        right0, bottom0 = CANVAS[0] + 460, CANVAS[1] + 400
        xs, ys = [], []
        for y in range(top0 + 1, bottom0, 1):
            for x in range(left0 + 1, right0, 2):
                if shot.pixel(x, y) != WHITE:
                    xs.append(x)
                    ys.append(y)
        check(xs, "no design window on the window panel: it is all white")
        left, right, top, bottom = min(xs) - 1, max(xs) + 1, min(ys), max(ys)
        while left < right and shot.pixel(left, bottom - 1) == WHITE:
            left += 1
        while right > left and shot.pixel(right, bottom - 1) == WHITE:
            right -= 1
        outer_width = right - left + 1
        side = (outer_width - DESIGN_CLIENT_SIZE[0]) // 2
        check(0 <= side <= 20, f"the design window found at ({left}, {top})-({right}, {bottom}) is "
                               f"{outer_width} wide, which leaves no frame around a {DESIGN_CLIENT_SIZE[0]}-pixel client area")
        fill = shot.pixel(left + side, bottom - side)
        span = range(left + side, right - side + 1)
        client_top = top
        while client_top < bottom and any(shot.pixel(x, client_top) != fill for x in span):
            client_top += 1
        # The bottom frame is as thick as the side frames.
        height = bottom - side - client_top + 1
        check(client_top - top >= 10 and height == DESIGN_CLIENT_SIZE[1],
              f"the design window at ({left}, {top})-({right}, {bottom}) shows a client area in {fill} from "
              f"row {client_top}, {height} rows high over a {side}-pixel frame: expected {DESIGN_CLIENT_SIZE[1]} "
              f"rows under a caption bar")
        self.client = (left + side, client_top)
        self.frame_side = side
        return self.client


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


def _options(line):
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
        variable, options_a = _options(a)
        variable_b, options_b = _options(b)
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
