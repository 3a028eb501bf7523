"""What the mouse must do in the designer, as a new user tries it: a scenario for any desktop.

run(designer, step) plays it on a started designer whose design window has been located: a
tst_designer_e2e.Designer, or any with its gestures (choose, click, drag, flick, hover, edit_value)
and questions (design, palette_point, pointer_chosen, design_pixels, program, frame_side), such as
one that maps its points onto a compositor's screen. It
places widgets, drags, flicks, presses check buttons, drags from the palette, drags where widgets
overlap and makes the window as small as it goes, and then checks every widget's place and size and
the window's size in the program it copies out of the code view. It raises DesktopError naming the
case that went wrong.
"""

import time

from desktop import wait_until
from designerdriver import SETTLE, check
from tst_designer_e2e import options_of

# Grid rows of a label or check button, and of the window.
CAPTION_ROW, WIDTH_ROW, HEIGHT_ROW = 2, 5, 6
WINDOW_WIDTH_ROW, WINDOW_HEIGHT_ROW = 5, 6


def placements(program):
    """{variable: (x, y, width, height)} of the widgets, and the window's (width, height)."""
    widgets, window = {}, None
    for line in program.replace("\r\n", "\n").split("\n"):
        if line.startswith("Window.geometry('"):
            size = line[len("Window.geometry('"):].split("+")[0]
            window = tuple(int(n) for n in size.split("x"))
        elif ".place(" in line:
            variable, options = options_of(line)
            widgets[variable] = tuple(int(options[key]) for key in ("x", "y", "width", "height"))
    return widgets, window


def place(designer, kind, x, y):
    designer.choose(kind)
    time.sleep(0.2)
    designer.click(designer.design(x, y))
    time.sleep(0.3)


def run(designer, step):
    step("pointer cases: place a label, an entry just below it, a check button and a button")
    place(designer, "label", 20, 20)      # Label1 at (20, 20), 120 x 20
    place(designer, "entry", 20, 42)      # Entry2 just below it
    place(designer, "check", 20, 100)     # CheckButton3
    place(designer, "button", 150, 20)    # Button4, 88 x 32
    expected = {"Label1": (20, 20, 120, 20), "Entry2": (20, 42, 120, 20), "CheckButton3": (20, 100, 120, 20),
                "Button4": (150, 20, 88, 32)}

    step("pointer cases: a placed button pressed and dragged by (60, 40) moves by that")
    designer.drag(designer.design(150 + 44, 20 + 16), designer.design(150 + 44 + 60, 20 + 16 + 40))
    expected["Button4"] = (210, 60, 88, 32)

    step("pointer cases: a label pressed and dragged moves, not the entry below it")
    designer.drag(designer.design(20 + 60, 20 + 10), designer.design(20 + 60 + 30, 20 + 10))
    expected["Label1"] = (50, 20, 120, 20)

    step("pointer cases: a press 24 px above the check button moves nothing")
    designer.drag(designer.design(80, 100 - 24 + 10), designer.design(80 + 30, 100 - 24 + 10))

    step("pointer cases: a flick of 40 px moves the button 40 px")
    designer.flick(designer.design(210 + 44, 60 + 16), (40, 0))
    expected["Button4"] = (250, 60, 88, 32)

    step("pointer cases: the check button pressed right of its caption, twice, stays unchecked")
    check_rect = (20, 100, 120, 20)
    before = designer.design_pixels(check_rect)
    for _ in range(2):
        designer.click(designer.design(20 + 110, 100 + 10))
        time.sleep(SETTLE)
    check(designer.design_pixels(check_rect) == before, "the check button changed its look when pressed")
    designer.drag(designer.design(20 + 110, 100 + 10), designer.design(20 + 110, 100 + 10 + 20), steps=4)
    expected["CheckButton3"] = (20, 120, 120, 20)
    check(designer.design_pixels((20, 120, 120, 20)) == before,
          "the check button dragged from right of its caption does not look as it did")

    step("pointer cases: 标签 dragged from the palette onto the design window places a label there")
    designer.drag(designer.palette_point("label"), designer.design(200, 150), steps=12)
    wait_until(designer.pointer_chosen, 5.0, "after the drop the palette did not return to the pointer")
    expected["Label5"] = (200, 150, 120, 20)

    step("pointer cases: where a large check button lies over a label, the label is dragged and shown")
    place(designer, "label", 160, 170)    # Label6
    place(designer, "check", 150, 160)    # CheckButton7, made to cover the label
    designer.edit_value(WIDTH_ROW, "140")
    designer.edit_value(HEIGHT_ROW, "36")
    cover = (150, 160, 140, 36)
    before = designer.design_pixels(cover)
    designer.drag(designer.design(200, 180), designer.design(200 + 20, 180 + 6), steps=4)
    # The grid shows what was dragged: a width typed now is the label's.
    designer.edit_value(WIDTH_ROW, "77")
    check(designer.design_pixels(cover) == before, "the check button over the label changed its look")
    expected["Label6"] = (180, 176, 77, 20)
    expected["CheckButton7"] = cover

    step("pointer cases: every widget is where the mouse put it")
    widgets, window = placements(designer.program())
    faults = [f"{name}: {widgets.get(name)}, expected {rect}" for name, rect in expected.items()
              if widgets.get(name) != rect]
    check(not faults, "in the copied program: " + "; ".join(faults))

    step("pointer cases: a window 0 wide and 0 high is Tk's 1 x 1, and dragging its frame stops there too")
    designer.click(designer.design(290, 5))          # empty design area: the window's rows
    time.sleep(SETTLE)
    designer.edit_value(WINDOW_WIDTH_ROW, "0")
    designer.edit_value(WINDOW_HEIGHT_ROW, "0")
    _, window = placements(designer.program())
    check(window == (1, 1), f"the window typed 0 x 0 is {window} in the program, expected Tk's (1, 1)")
    designer.click(designer.design(0, 0))            # all there is of the client area
    time.sleep(SETTLE)
    designer.edit_value(WINDOW_WIDTH_ROW, "300")
    designer.edit_value(WINDOW_HEIGHT_ROW, "200")
    # Two pixels inside the frame's outer corner, where a press sizes both ways; the frame decides
    # from the pointer's way in what a press will do, so it comes from inside the window.
    corner = designer.design(300 + designer.frame_side - 2, 200 + designer.frame_side - 2)
    designer.hover(designer.design(290, 190))
    designer.hover(designer.design(300, 200))
    designer.drag(corner, designer.design(-20, -20), steps=8)
    _, window = placements(designer.program())
    check(window == (1, 1), f"the frame dragged inward stops at {window}, expected (1, 1) as for a typed 0")
