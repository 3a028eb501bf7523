"""Reading windows off the compositor's output: screenshots that have settled, and the look_compare
tool (look_compare.cpp) that finds a window's image on them and compares two images with the look
test's shares."""

import os
import subprocess
import time

from desktop import DesktopError, Screenshot

__all__ = ["LookTool", "settled_screenshot", "window_image"]


def settled_screenshot(desktop, timeout=10.0, interval=0.25):
    """A screenshot of the whole screen once two in a row, interval seconds apart, are the same:
    compositors fade, slide and redraw for a while after a change."""
    deadline = time.monotonic() + timeout
    last = desktop.screenshot()
    while True:
        time.sleep(interval)
        shot = desktop.screenshot()
        if shot == last:
            return shot
        if time.monotonic() >= deadline:
            raise DesktopError(f"the screen of {desktop.display} kept changing for {timeout:g} s")
        last = shot


def window_image(desktop, window):
    """What an X window shows, read from the X server itself (XWayland keeps each window's pixels),
    before any compositor scales it."""
    data = desktop.tool("import", "-window", str(window), "-depth", "8", "ppm:-", timeout=20.0)
    return Screenshot.from_ppm(data)


class LookTool:
    """The built look_compare, with its images in a scratch folder."""

    def __init__(self, binary, folder):
        if not os.access(binary, os.X_OK):
            raise DesktopError(f"the look tool {binary} is not built or not executable")
        self.binary = binary
        self.folder = folder

    def _run(self, *args):
        try:
            result = subprocess.run([self.binary, *map(str, args)], capture_output=True, timeout=60)
        except subprocess.TimeoutExpired:
            raise DesktopError(f"look_compare {args[0]} took longer than 60 s") from None
        if result.returncode != 0:
            raise DesktopError(result.stderr.decode("utf-8", "replace").strip()
                               or f"look_compare {args[0]} failed with code {result.returncode}")
        return result.stdout.decode().split()

    def file(self, image, name):
        path = os.path.join(self.folder, name + ".ppm")
        image.save_ppm(path)
        return path

    def locate(self, screen, pattern, scale, area=None, name="screen"):
        """Where the pattern, scaled by scale, shows best on the screen (within area, an
        (x, y, width, height) tuple): ((x, y, width, height), mean channel difference there).
        The screen is kept under the name."""
        args = ["locate", self.file(screen, name), self.file(pattern, name + "-pattern"), scale]
        if area is not None:
            args += [round(value) for value in area]
        x, y, width, height, mean = self._run(*args)
        return (int(x), int(y), int(width), int(height)), float(mean)

    def compare(self, design, tk, difference_path=None):
        """The shares of the design's pixels that differ from Tk's by more than 40 and by more
        than 12 (largest channel difference), as (coarse, fine)."""
        args = ["compare", self.file(design, "design"), self.file(tk, "tk")]
        if difference_path:
            args.append(difference_path)
        words = self._run(*args)
        return float(words[1]), float(words[3])
