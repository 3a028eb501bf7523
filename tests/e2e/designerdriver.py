"""The designer's main window on an X desktop, driven from outside as a person drives it: its known
layout at the load size, and a step name that failures carry."""

import time

from desktop import DesktopError, wait_until

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
