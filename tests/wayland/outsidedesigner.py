"""The built designer inside a nested compositor, driven only from the outer screen as a person at
that screen would: xdotool's mouse and keys on the outer Xvfb, which the compositor passes on.

Positions are given in the designer's own pixels (what it draws, at its interface scale) and mapped
onto the outer screen through where its main window shows there and how much the compositor
magnifies it. The layout is tst_designer_e2e.py's, whose numbers hold at 96 dots per inch; the
interface scales them by Xft.dpi / 96.
"""

import math
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
import designerdriver as e2e  # noqa: E402
from desktop import DesktopError, Screenshot, wait_until  # noqa: E402
from screenlook import settled_screenshot, window_image  # noqa: E402

__all__ = ["OutsideDesigner", "WaylandClipboard", "XClipboard", "e2e"]

# The palette header's blue starts one pixel inside the main window, at every interface scale.
BLUE_CORNER = (1, 1)
# How long the pointer rests after a press and before a release (see tst_designer_e2e.SETTLE).
SETTLE = e2e.SETTLE
# Qt's default, with a margin.
DOUBLE_CLICK_INTERVAL = 0.5


def check(condition, message):
    if not condition:
        raise DesktopError(message)


class OutsideDesigner:
    """The designer's main window. outer is the outer Desktop, inner a Desktop on the compositor's
    XWayland; window is the main window's X id on the XWayland path, None when the designer runs
    on Wayland itself. interface_scale is Xft.dpi / 96, magnification what the compositor does to
    the designer's pixels (2 at output scale 2, 1 where the program draws at full resolution)."""

    def __init__(self, outer, inner, window, interface_scale, magnification, clipboard, output_size):
        self.outer = outer
        self.output_size = output_size  # the compositor's output on the outer screen
        self.inner = inner
        self.window = window
        self.u = interface_scale
        self.k = magnification
        self.clipboard = clipboard  # reads and sets the clipboard where the designer reads it
        self.origin = None          # the main window's top-left corner in the compositor's space, in
                                    # the designer's pixels (outer pixels / magnification)
        self.size = None            # the main window's size in its own pixels
        self.client = None          # the design window's client area, (left, top) in its own pixels
        self.frame_side = 0         # the design window's frame beside and below its client area

    # ---- where things are ----

    def scaled(self, length):
        return round(length * self.u)

    def find_on_screen(self, timeout=20.0):
        """Waits until the main window shows on the outer screen and works out where: its palette
        header's blue gives the corner, its width the interface scale times the magnification.
        An interface scale of None is taken from there."""
        def shown():
            shot = settled_screenshot(self.outer)
            header = _long_run(shot, e2e.BLUE, 60)  # the window's icon may be blue too
            return (shot, header) if header else None
        shot, (x, y, run) = wait_until(shown, timeout, "the designer's blue palette header never showed on the outer screen")
        # The header is 128 layout units wide, the blue one pixel inside it on either side.
        measured = (run + 2) / 128
        if self.u is None:
            self.u = round(measured / self.k * 4) / 4  # interface scales go by quarters
        check(abs(measured - self.u * self.k) < 0.05,
              f"the designer's palette header is {run} pixels wide on the outer screen: {measured:.2f} times its "
              f"96-dpi width, expected an interface scale of {self.u} magnified {self.k} times")
        if self.window is not None:
            geometry = self.inner.window_geometry(self.window)
            self.size = (geometry.width, geometry.height)
        else:
            self.size = (self.scaled(800), self.scaled(548))
        # Magnified, a pixel of the window covers the outer pixels that count down to it; the first
        # one all blue (a smoothing compositor blends the first it touches) counts down to the corner.
        self.origin = (math.floor(x / self.k) - BLUE_CORNER[0], math.floor(y / self.k) - BLUE_CORNER[1])
        return shot

    def wait_until_gone(self, timeout=10.0):
        """Waits until the main window no longer shows on the outer screen (a compositor may show
        a window a while after its program has gone)."""
        wait_until(lambda: _long_run(self.outer.screenshot(), e2e.BLUE, 60) is None, timeout,
                   "the designer's window still shows on the outer screen after it stopped")

    def on_screen(self, point):
        """A point of the main window (its own pixels) on the outer screen."""
        # The compositor divides the outer pointer's position by the magnification, and XWayland
        # rounds what it gets: the first outer pixel at or past the window's pixel lands on it.
        return tuple(math.ceil(self.k * (origin + value) - 1e-9) for origin, value in zip(self.origin, point))

    def area_on_screen(self):
        """The main window's rectangle on the outer screen."""
        left, top = self.on_screen((0, 0))
        return (left, top, round(self.k * self.size[0]), round(self.k * self.size[1]))

    def palette_item(self, kind):
        row = e2e.PALETTE_ROWS[kind]
        return (self.scaled(64), self.scaled(e2e.PALETTE_HEADER_HEIGHT + e2e.PALETTE_ITEM_HEIGHT * row
                                             + e2e.PALETTE_ITEM_HEIGHT // 2))

    def panel_button(self, name):
        left, top = e2e.PANEL_BUTTONS[name]
        return (self.scaled(left + e2e.PANEL_BUTTON_SIZE[0] // 2), self.scaled(top + e2e.PANEL_BUTTON_SIZE[1] // 2))

    def grid_value(self, row):
        return (self.size[0] - self.scaled(e2e.RIGHT_COLUMN - 1 - e2e.GRID_LABEL_WIDTH - 57),
                self.scaled(e2e.GRID_TOP + 1 + e2e.GRID_ROW_HEIGHT * row + e2e.GRID_ROW_HEIGHT // 2))

    def design(self, x, y):
        """A point of the design window's client area (screen pixels, as the design counts)."""
        return (self.client[0] + x, self.client[1] + y)

    def parking_place(self):
        """A point of the output away from every window, where the pointer's sprite and hover
        effects spoil no screenshot."""
        width, height = self.output_size
        return (width - 30, height - 30)

    # ---- what it shows ----

    def image(self):
        """The main window in its own pixels: read from XWayland, or from the outer screen when
        the designer draws on Wayland (exact only where nothing magnifies it: see same())."""
        if self.window is not None:
            return window_image(self.inner, self.window)
        shot = self.outer.screenshot().crop(self.area_on_screen())
        if self.k == 1:
            return shot
        return _shrink(shot, self.k, self.size)

    def same(self, colour, other):
        """Whether two colours of image() are the same: exactly, unless the compositor resampled
        them (the designer on Wayland, magnified), when neighbours bleed in."""
        if self.window is not None or self.k == 1:
            return colour == other
        return max(abs(a - b) for a, b in zip(colour, other)) <= 24

    def selected_palette_row(self):
        shot = self.image()
        rows = [row for kind, row in e2e.PALETTE_ROWS.items()
                if self.same(shot.pixel(self.scaled(6), self.palette_item(kind)[1]), e2e.SELECTED_ITEM)]
        return rows[0] if len(rows) == 1 else None

    def locate_design_client(self):
        """Finds the design window's client area by colour, as tst_designer_e2e does at 96 dots
        per inch: the only thing on the white window panel that is not white, whose client area,
        300 x 200 screen pixels at every scale, is filled with one colour under a caption bar."""
        if self.window is None and self.k != 1:
            # Drawn on Wayland at the output's scale, the frame's lines are finer than the designer's
            # pixels and no colour holds across one: the layout's place for the design window.
            self.client = (self.scaled(e2e.CANVAS[0] + 24), self.scaled(e2e.CANVAS[1] + 44))
            return self.client
        shot = self.image()
        width, height = e2e.DESIGN_CLIENT_SIZE
        left0, top0 = self.scaled(e2e.CANVAS[0]), self.scaled(e2e.CANVAS[1])
        right0 = min(shot.width - 1, left0 + self.scaled(460))
        bottom0 = min(shot.height - 1, top0 + self.scaled(400))
        xs, ys = [], []
        for y in range(top0 + 1, bottom0):
            for x in range(left0 + 1, right0, 2):
                if not self.same(shot.pixel(x, y), e2e.WHITE):
                    xs.append(x)
                    ys.append(y)
        check(xs, "no design window on the window panel: it is all white")
        left, right, top, bottom = min(xs) - 1, max(xs) + 1, min(ys), max(ys)
        while left < right and self.same(shot.pixel(left, bottom - 1), e2e.WHITE):
            left += 1
        while right > left and self.same(shot.pixel(right, bottom - 1), e2e.WHITE):
            right -= 1
        side = (right - left + 1 - width) // 2
        check(0 <= side <= self.scaled(20), f"the design window found at ({left}, {top})-({right}, {bottom}) "
                                            f"leaves no frame around a {width}-pixel client area")
        fill = shot.pixel(left + side, bottom - side)
        client_top = top
        while client_top < bottom and not all(self.same(shot.pixel(x, client_top), fill)
                                              for x in range(left + side, right - side + 1)):
            client_top += 1
        found = bottom - side - client_top + 1
        check(found == height, f"the design window at ({left}, {top})-({right}, {bottom}) shows a client area "
                               f"{found} rows high, expected {height}")
        self.client = (left + side, client_top)
        self.frame_side = side
        return self.client

    # ---- gestures ----

    def move(self, point):
        self.outer.mouse_move(*self.on_screen(point))

    def arrive(self, point):
        """Moves the pointer onto the point as a hand does, in more than one motion: XWayland under
        weston 14 moves its own pointer into a window only with a motion after the one that
        entered it, and till then gives the buttons to the window the pointer came from."""
        x, y = self.on_screen(point)
        self.outer.mouse_move(x - 1, y)
        self.outer.mouse_move(x, y)

    def click(self, point, repeat=1):
        self.arrive(point)
        self.outer.click(repeat=repeat)

    def park_pointer(self):
        self.outer.mouse_move(*self.parking_place())

    def choose(self, kind):
        self.click(self.palette_item(kind))
        wait_until(lambda: self.selected_palette_row() == e2e.PALETTE_ROWS[kind], 5.0,
                   f"the palette does not show {kind} chosen")

    def place(self, kind, x, y):
        """Chooses the kind in the palette and clicks it into the design at (x, y)."""
        self.choose(kind)
        self.click(self.design(x, y))
        wait_until(lambda: self.selected_palette_row() == e2e.PALETTE_ROWS["pointer"], 5.0,
                   f"after placing a {kind} the palette did not return to the pointer")

    def drag(self, start, end, steps=10):
        """Presses at start, moves to end in steps and releases, resting after the press and
        before the release (both in the main window's pixels)."""
        (x0, y0), (x1, y1) = start, end
        self.arrive(start)
        self.outer.mouse_down()
        try:
            time.sleep(SETTLE)
            for i in range(1, steps + 1):
                self.move((x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps))
                time.sleep(0.02)
            time.sleep(SETTLE)
        finally:
            self.outer.mouse_up()
        time.sleep(0.1)

    def flick(self, start, delta):
        """Presses at start, moves by delta and releases in one go, before the designer polls."""
        self.arrive(start)
        time.sleep(SETTLE)
        x, y = self.on_screen((start[0] + delta[0], start[1] + delta[1]))
        self.outer.xdotool("mousedown", 1, "mousemove", x, y, "mouseup", 1)
        time.sleep(SETTLE)

    # ---- what the pointer cases ask of a designer on any desktop (e2e/pointer_cases.py) ----

    def palette_point(self, kind):
        return self.palette_item(kind)

    def pointer_chosen(self):
        return self.selected_palette_row() == e2e.PALETTE_ROWS["pointer"]

    def design_pixels(self, rect):
        """The design's pixels in the rectangle of its client area, row by row, in its own pixels."""
        shot = self.image()
        x0, y0, width, height = rect
        return [shot.pixel(*self.design(x0 + dx, y0 + dy)) for dy in range(height) for dx in range(width)]

    def hover(self, point):
        self.arrive(point)
        time.sleep(SETTLE)

    def program(self):
        return self.copy_code()

    def key(self, *keys):
        """Keys go to the window that has the compositor's keyboard focus: the last one clicked."""
        self.outer.xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        """Types printable ASCII as keys; pastes every other run of characters, whose keys the
        outer keyboard map lacks, from the clipboard."""
        for run in re.findall(r"[ -~]+|[^ -~]+", text):
            if " " <= run[0] <= "~":
                self.outer.xdotool("type", "--clearmodifiers", "--delay", 12, "--", run,
                                   timeout=10.0 + len(run) * 0.05)
            else:
                self.clipboard.set(run)
                self.key("ctrl+v")

    def settle(self, timeout=5.0):
        """Waits until the main window looks the same twice in a row: keys sent before the grid
        shows a new selection's rows would edit the old one."""
        last = [self.image()]

        def same():
            time.sleep(0.1)
            shot = self.image()
            if shot == last[0]:
                return True
            last[0] = shot
            return False
        wait_until(same, timeout, "the designer's window kept changing")

    def select(self, point):
        """Clicks a widget of the design (or its background, for the window) and waits for the grid."""
        self.click(self.design(*point))
        self.settle()

    def edit_value(self, row, text):
        """Selects a grid value with a click, opens its editor with F2 (a paste alone opens
        none), replaces its text and ends with Return."""
        self.click(self.grid_value(row))
        # A click on the value that was already selected opens an editor of its own once the
        # double-click interval (400 ms) has passed, and what was typed into F2's editor by then
        # is lost (on a plain X screen too).
        time.sleep(DOUBLE_CLICK_INTERVAL)
        self.settle()
        self.key("F2", "ctrl+a")
        self.type_text(text)
        self.key("Return")
        self.settle()

    def press_panel(self, name):
        self.click(self.panel_button(name))
        time.sleep(0.3)

    def copy_code(self):
        """Shows the code, selects it all in the code view, copies it and goes back to the window
        panel; the clipboard's text."""
        self.press_panel("code")
        self.click((self.scaled(e2e.CANVAS[0] + 200), self.scaled(e2e.CANVAS[1] + 200)))
        self.clipboard.set("(nothing copied yet)")
        self.key("ctrl+a", "ctrl+c")
        text = wait_until(lambda: self._copied(), 5.0, "Ctrl+A, Ctrl+C in the code view put nothing on the clipboard")
        self.press_panel("window")
        return text

    def _copied(self):
        text = self.clipboard.get()
        return text if text != "(nothing copied yet)" else None


def _long_run(shot, colour, length):
    """The first run of at least length pixels of exactly the colour along a row, in reading
    order: (x, y, its length); None if there is none."""
    x, y = 0, 0
    while True:
        found = shot.find(colour, (x, y))
        if found is None:
            return None
        x, y = found
        run = 0
        while x + run < shot.width and shot.pixel(x + run, y) == colour:
            run += 1
        if run >= length:
            return x, y, run
        x += run
        if x >= shot.width:
            x, y = 0, y + 1


def _shrink(shot, factor, size):
    """Every factor-th pixel of a magnified image, back at the given size."""
    width, height = size
    rows = []
    for y in range(height):
        source = min(shot.height - 1, int(y * factor + factor / 2))
        row = bytearray()
        for x in range(width):
            row += bytes(shot.pixel(min(shot.width - 1, int(x * factor + factor / 2)), source))
        rows.append(bytes(row))
    return Screenshot(width, height, b"".join(rows))


class XClipboard:
    """The clipboard of an X display, through xclip (the designer on XWayland reads it there)."""

    def __init__(self, desktop):
        self.desktop = desktop

    def get(self):
        return self.desktop.clipboard()

    def set(self, text):
        self.desktop.set_clipboard(text)


class WaylandClipboard:
    """The clipboard of a designer on Wayland, through wl-clipboard where the compositor lets it
    (KWin), else through XWayland, whose selection the compositor hands on (weston and mutter give
    wl-copy no keyboard focus, which setting the clipboard needs)."""

    def __init__(self, inner, environment):
        self.inner = inner
        self.environment = {**os.environ, **{k: v for k, v in environment.items() if v is not None}}

    def get(self):
        try:
            result = subprocess.run(["wl-paste", "--no-newline"], capture_output=True, timeout=2.0, env=self.environment)
            if result.returncode == 0:
                return result.stdout.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            pass
        try:
            return self.inner.clipboard(timeout=2.0)
        except DesktopError:
            return ""

    def set(self, text):
        # wl-copy leaves a server behind that holds the text; it ends with the compositor.
        try:
            subprocess.run(["wl-copy", "--", text], timeout=5.0, env=self.environment, capture_output=True)
        except subprocess.TimeoutExpired:
            pass
        try:
            wait_until(lambda: self.get() == text, 1.0, "")
        except DesktopError:
            self.inner.set_clipboard(text)
            # The compositor offers X's new selection to Wayland clients in its own time, and
            # nothing outside tells when.
            time.sleep(0.5)
