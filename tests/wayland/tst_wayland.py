#!/usr/bin/python3
"""The built designer and the Tk program it writes, both inside a Wayland compositor nested in a
private Xvfb, as on a desktop that starts Wayland sessions: Tk draws through XWayland, and so does
the designer (Qt's xcb platform), or, with --wayland, the designer draws on Wayland itself.

Driven only from the outer screen (xdotool; the compositor passes the input on), it places one
widget of each kind with Chinese captions through the palette, the design window and the property
grid, copies the program out of the code view, drags the button by (60, 40), and then runs the
program in Tk. It checks
  - the program: the widgets where they were placed, and after the drag the button moved by
    exactly (60, 40) and nothing else changed;
  - the look: the design window's client area against Tk's window on the compositor's output,
    both scaled as the compositor scales them: at most 1 % of the pixels off by more than 40 and
    5 % by more than 12 (largest channel difference), as tst_tklook has it.
It prints the figures, also those of the two windows as XWayland holds them before any scaling.
Under weston's and KWin's window managers at scale 1 it then plays the pointer cases of
e2e/pointer_cases.py on a new designer.

Usage: tst_wayland.py [--wayland] [--images DIRECTORY] CONFIGURATION KESTRIGAN LOOK_COMPARE
  CONFIGURATION is one of CONFIGURATIONS below. --wayland measures and asserts nothing about the
  look (the figures are printed); --images keeps every image in DIRECTORY. Exits 0 when every
  check holds, 1 with every failed check (and where the images are) otherwise."""

import argparse
import json
import os
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
sys.path.insert(0, HERE)
import pointer_cases  # noqa: E402
from compositor import Compositor  # noqa: E402
from desktop import PYTHON, Desktop, DesktopError, require_tools, wait_until  # noqa: E402
import tst_designer_e2e as e2e  # noqa: E402
from outsidedesigner import OutsideDesigner, WaylandClipboard, XClipboard  # noqa: E402
from screenlook import LookTool, settled_screenshot, window_image  # noqa: E402
from designerdriver import Step, check, step  # noqa: E402

CoarseTarget = 0.01
FineTarget = 0.05

# kind, output scale, KWin's scale for X programs, Xft.dpi; and how many times the compositor
# magnifies an X program's pixels (1 where X programs draw at the output's full resolution).
CONFIGURATIONS = {
    "weston_xft144": dict(kind="weston", scale=1, xft_dpi=144, magnification=1, pointer_cases=True),
    "weston_scale2": dict(kind="weston", scale=2, magnification=2),
    "kwin": dict(kind="kwin", scale=1, magnification=1, pointer_cases=True),
    "kwin_scale2": dict(kind="kwin", scale=2, magnification=2),
    "kwin_scale1.5": dict(kind="kwin", scale=1.5, magnification=1.5),
    "kwin_xwayland_scale2": dict(kind="kwin", scale=2, xwayland_scale=2, xft_dpi=192, magnification=1),
    "mutter": dict(kind="mutter", scale=1, magnification=1),
}
OUTER_SCREEN = (2000, 1400)

# The design: one widget of each kind, captions in Chinese, the window's title typed too.
PLACEMENTS = [("label", (16, 16)), ("entry", (16, 48)), ("button", (16, 80)), ("radio", (160, 16)), ("check", (160, 48))]
LABEL_CAPTION = "标签 Label 中文"
TITLE = "我的窗口"
DRAG = (60, 40)
BUTTON_CENTRE = (16 + 44, 80 + 16)
EXPECTED_WIDGETS = [
    ("label", 1, LABEL_CAPTION, "微软雅黑", 9, (16, 16, 120, 20)),
    ("entry", 2, None, "微软雅黑", 9, (16, 48, 120, 20)),
    ("button", 3, "按钮", "微软雅黑", 9, (16, 80, 88, 32)),
    ("radio", 4, "单选框", "微软雅黑", 9, (160, 16, 120, 20)),
    ("check", 5, "复选框", "微软雅黑", 9, (160, 48, 120, 20)),
]


def moved(widgets, number, by):
    """The expected widgets with widget number's place moved by (x, y)."""
    result = []
    for kind, n, text, face, points, (left, top, width, height) in widgets:
        if n == number:
            left, top = left + by[0], top + by[1]
        result.append((kind, n, text, face, points, (left, top, width, height)))
    return result


def program_faults(title, widgets, copied):
    expected = e2e.expected_program(title, 100, 100, widgets)
    return e2e.program_differences(expected.replace("\r\n", "\n"), copied.replace("\r\n", "\n"))


class Rig:
    """One run: the outer screen, the compositor in it, and what the run found so far. faults are the
    failed checks (the run goes on after one where it can); figures what it measured."""

    def __init__(self, arguments, look, folder):
        self.arguments = arguments
        self.configuration = CONFIGURATIONS[arguments.configuration]
        self.look = look
        self.folder = folder
        self.faults = []
        self.figures = {}
        self.outer = None
        self.compositor = None

    def image_path(self, name):
        return os.path.join(self.folder, name)

    def run(self):
        settings = {key: value for key, value in self.configuration.items()
                    if key not in ("magnification", "pointer_cases")}
        with Desktop(width=OUTER_SCREEN[0], height=OUTER_SCREEN[1]) as self.outer:
            step(f"start {self.configuration['kind']} at scale {self.configuration['scale']}")
            with Compositor(self.outer, **settings) as self.compositor:
                self.figures["X programs see a screen of"] = "%d x %d" % self.compositor.x_screen_size()
                try:
                    designer, pictures, program = self.design()
                    self.compare(designer, pictures, program)
                    if self.configuration.get("pointer_cases") and not self.arguments.wayland:
                        # A new designer, under this compositor's window manager.
                        app, designer = self.start_designer()
                        pointer_cases.run(designer, step)
                        check(app.running(), f"the designer exited with code {app.process.returncode}")
                        app.stop()
                except DesktopError:
                    try:
                        self.outer.screenshot(self.image_path("failure.png"))
                    except DesktopError:
                        pass
                    raise

    def start_designer(self):
        """Starts the designer inside the compositor; its App and OutsideDesigner, found on the screen."""
        inner = self.compositor.x_desktop
        wayland = self.arguments.wayland
        environment = self.compositor.client_environment(wayland=wayland)
        environment["KESTRIGAN_CODE_EDITOR_DIR"] = os.environ.get("KESTRIGAN_CODE_EDITOR_DIR", "")
        app = inner.launch([self.arguments.kestrigan], env=environment)
        if wayland:
            window, clipboard = None, WaylandClipboard(inner, environment)
            # On Wayland the designer's pixels are the compositor's to scale, as any Wayland
            # client's, and its interface scale is measured (and told).
            magnification, interface_scale = self.compositor.scale, None
        else:
            # The designer's own window: mutter's frames are another program's windows with its title.
            window = inner.wait_for_window(e2e.TITLE, exact=True, timeout=20.0, pid=app.pid)
            clipboard = XClipboard(inner)
            magnification = self.configuration["magnification"]
            interface_scale = (self.configuration.get("xft_dpi") or 96) / 96
        designer = OutsideDesigner(self.outer, inner, window, interface_scale, magnification, clipboard,
                                   self.compositor.output_size())
        self.compositor.sync_pointer()
        designer.find_on_screen()
        self.figures["interface scale"] = designer.u
        designer.locate_design_client()
        return app, designer

    def design(self):
        """Makes the design, takes its pictures, copies its program and drags the button; (the
        OutsideDesigner, the pictures: the outer screen and what XWayland holds or None, the program)."""
        step("start the designer")
        app, designer = self.start_designer()
        step("place one widget of each kind")
        for kind, (x, y) in PLACEMENTS:
            designer.place(kind, x, y)
        step("type the label's caption and the window's title into the grid")
        designer.select((16 + 30, 16 + 10))
        designer.edit_value(2, LABEL_CAPTION)
        designer.select((250, 170))
        designer.edit_value(2, TITLE)
        # The window selected and the pointer away: nothing of the designer's own shows on the design.
        designer.select((250, 170))
        designer.park_pointer()
        step("take the design's picture")
        screen = settled_screenshot(self.outer)
        x_side = designer.image().crop(designer.client + e2e.DESIGN_CLIENT_SIZE) if designer.window else None

        step("copy the program")
        program = designer.copy_code()
        differences = program_faults(TITLE, EXPECTED_WIDGETS, program)
        if differences:
            self.faults.append("the program is not the design's:\n  " + "\n  ".join(differences))

        step("drag the button by (60, 40)")
        start = designer.design(*BUTTON_CENTRE)
        designer.drag(start, (start[0] + DRAG[0], start[1] + DRAG[1]))
        differences = program_faults(TITLE, moved(EXPECTED_WIDGETS, 3, DRAG), designer.copy_code())
        if differences:
            self.faults.append("dragging the button by (60, 40) did not move it by that alone (after-drag.png):\n  "
                               + "\n  ".join(differences))
            designer.image().save_png(self.image_path("after-drag.png"))
        check(app.running(), f"the designer exited with code {app.process.returncode}: {app.errors()[-2000:]}")
        app.stop()
        designer.wait_until_gone()
        return designer, (screen, x_side), program

    def show_in_tk(self, designer, program):
        """Shows the program in Tk; the outer screen with its window, its window as XWayland holds
        it, whether it was moved to where the design stood, and what Tk tells of it."""
        inner = self.compositor.x_desktop
        at = None
        if self.configuration["magnification"] != int(self.configuration["magnification"]):
            # Scaled by a fraction, a window's pixels come out differently with where it stands (at
            # 1.5, every other row and column is doubled, counted from the output's edge): Tk's
            # window goes where the design stood, as its user could move it, to be scaled alike.
            client = designer.design(0, 0)
            at = (designer.origin[0] + client[0], designer.origin[1] + client[1])
        path = self.image_path("program.py")
        with open(path, "w", encoding="utf-8") as file:
            file.write(program)
        tk = inner.launch([PYTHON, "-X", "utf8", os.path.join(HERE, "showtk.py"), path, *map(str, at or ())],
                          env=self.compositor.client_environment())
        where = json.loads(tk.wait_for_output("\n", timeout=30.0).splitlines()[0])
        check((where["width"], where["height"]) == e2e.DESIGN_CLIENT_SIZE,
              f"Tk's window is {where['width']} x {where['height']} pixels, expected "
              f"{e2e.DESIGN_CLIENT_SIZE[0]} x {e2e.DESIGN_CLIENT_SIZE[1]}")
        designer.park_pointer()
        screen = settled_screenshot(self.outer)
        x_side = window_image(inner, where["id"])
        tk.stop()
        return screen, x_side, at is not None, where

    def compare(self, designer, pictures, program):
        """Shows the program in Tk and compares its window with the design's pictures."""
        design_screen, design_x_side = pictures
        step("show the program in Tk")
        tk_screen, tk_x_side, moved_to_design, where = self.show_in_tk(designer, program)

        step("compare the design with Tk's window")
        # Tk's window is found by what it shows: its own pixels, scaled as the compositor scales X programs.
        tk_area, mean = self.look.locate(tk_screen, tk_x_side, self.configuration["magnification"], name="tk-screen")
        check(mean < 8, f"Tk's window is nowhere on the screen: the best match, at {tk_area[0]},{tk_area[1]}, "
                        f"differs by {mean:.1f} on average")
        width, height = e2e.DESIGN_CLIENT_SIZE
        design_area = designer.on_screen(designer.design(0, 0)) + (round(designer.k * width),
                                                                   round(designer.k * height))
        if moved_to_design:
            # The search fits a smoothly scaled image, which may land a row or two off a window whose
            # rows are doubled unevenly; this one stands where the design stood.
            check(max(abs(tk_area[0] - design_area[0]), abs(tk_area[1] - design_area[1])) <= 3,
                  f"Tk's window, moved to the design's place, shows at {tk_area[0]},{tk_area[1]}, "
                  f"not at {design_area[0]},{design_area[1]}")
            tk_area = design_area
        self.figures["Tk's window"] = (f"{tk_area[2]} x {tk_area[3]} at {tk_area[0]},{tk_area[1]} on the screen, "
                                       f"at {where['x']},{where['y']} to X")
        self.figures["the design"] = (f"{design_area[2]} x {design_area[3]} at {design_area[0]},{design_area[1]} "
                                      f"on the screen")
        design_image, tk_image = design_screen.crop(design_area), tk_screen.crop(tk_area)
        design_image.save_png(self.image_path("design.png"))
        tk_image.save_png(self.image_path("tk.png"))
        if design_area[2:] != tk_area[2:]:
            self.faults.append(f"the design is {design_area[2]} x {design_area[3]} pixels on the screen, Tk's "
                               f"window {tk_area[2]} x {tk_area[3]}")
            return
        coarse, fine = self.look.compare(design_image, tk_image, self.image_path("difference.png"))
        self.figures["on the screen"] = (coarse, fine)
        if design_x_side is not None:
            self.figures["in XWayland, before the compositor"] = self.look.compare(design_x_side, tk_x_side)
        if not self.arguments.wayland and (coarse > CoarseTarget or fine > FineTarget):
            self.faults.append(f"the design differs from Tk's window on the screen (design.png, tk.png, "
                               f"difference.png): {100 * coarse:.2f} % of its pixels by more than 40, "
                               f"{100 * fine:.2f} % by more than 12")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--wayland", action="store_true", help="the designer on Wayland itself; figures only")
    parser.add_argument("--images", help="keep every image in this folder")
    parser.add_argument("configuration", choices=sorted(CONFIGURATIONS))
    parser.add_argument("kestrigan")
    parser.add_argument("look_compare")
    arguments = parser.parse_args()
    require_tools("Xvfb", "xdotool", "xclip", "import", "xrdb")
    if arguments.wayland:
        require_tools("wl-copy", "wl-paste")
    check(os.access(arguments.kestrigan, os.X_OK), f"the designer {arguments.kestrigan} is not built or not executable")
    folder = arguments.images or tempfile.mkdtemp(prefix=f"kestrigan-wayland-{arguments.configuration}-")
    os.makedirs(folder, exist_ok=True)
    rig = Rig(arguments, LookTool(arguments.look_compare, folder), folder)
    started = time.monotonic()
    try:
        rig.run()
    except DesktopError as error:
        rig.faults.append(f"step '{Step.current}': {error}")
    faults = rig.faults
    path = "XWayland" if not arguments.wayland else "Wayland"
    for name, value in rig.figures.items():
        if isinstance(value, tuple):
            value = f"{100 * value[0]:.2f} % of the pixels off by more than 40, {100 * value[1]:.2f} % by more than 12"
        print(f"{arguments.configuration}, designer on {path}: {name}: {value}")
    print(f"{arguments.configuration}: {time.monotonic() - started:.0f} s")
    if not arguments.images:
        for name in os.listdir(folder):
            if name.endswith(".ppm"):
                os.unlink(os.path.join(folder, name))
    if faults:
        print("FAIL: " + "\n".join(faults) + f"\n(images in {folder})", file=sys.stderr)
        sys.exit(1)
    if not arguments.images:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"{arguments.configuration}: every check holds")


if __name__ == "__main__":
    main()
