"""A private X desktop for end-to-end tests: drive real programs with a real mouse and keyboard.

Runs under Debian's /usr/bin/python3 with the standard library only, and calls these programs:
Xvfb (package xvfb), xdotool, xclip, and ImageMagick's import (package imagemagick).
Everything is bounded by a timeout, and every failure raises DesktopError (an AssertionError, so
a test fails with the message) naming what went wrong or which tool is missing. Nothing skips.

    from desktop import Desktop

    with Desktop() as desktop:                      # starts Xvfb on a free display
        app = desktop.launch([KESTRIGAN_BINARY])     # DISPLAY set, Qt told to use xcb
        window = desktop.wait_for_window("Kestrigan", exact=True)
        desktop.click(40, 60, window=window)         # window-relative coordinates
        desktop.key("ctrl+a", "ctrl+c", window=window)
        text = desktop.clipboard()
        red, green, blue = desktop.pixel(10, 10, window=window)
    # leaving the block stops the launched programs, then Xvfb

Things to know about a bare Xvfb:
- There is no window manager. Windows appear exactly where the program puts them, without frames,
  so a window's geometry is its client area. Nothing hands out keyboard focus on a click either:
  key() and type_text() with a window focus it first (XSetInputFocus), which is what programs
  need before they accept keys.
- The screen is 1920 x 1080 x 24 at 96 dots per inch by default, with a black root window.
- Child processes get a parent-death signal, so they do not outlive a test that gets killed.
"""

import collections
import os
import re
import select
import shutil
import subprocess
import tempfile
import time

from processes import (PYTHON, App, DesktopError, die_with_parent, lead_own_group, require_tools, stop_process,
                       wait_until)
from screenshot import Screenshot

__all__ = ["PYTHON", "Desktop", "DesktopError", "App", "Geometry", "Screenshot", "require_tools", "wait_until"]

TOOL_TIMEOUT = 10.0

Geometry = collections.namedtuple("Geometry", "x y width height")
Geometry.__doc__ = "A window's position on the screen and its size, in pixels."


class Desktop:
    """An Xvfb server on a free display plus the programs started on it.

    Use it as a context manager, or call start() and close() (in a finally) yourself.
    Coordinates are absolute screen pixels unless a window id is given, in which case they are
    relative to that window's top-left corner."""

    def __init__(self, width=1920, height=1080, depth=24, dpi=96, first_display=91, server=None, env=None):
        self.screen = (width, height, depth)
        self.dpi = dpi
        self.first_display = first_display
        self.display = None  # ":91" once started
        self._server = server  # an X server that someone else runs, such as a compositor's XWayland
        self._env = dict(env or {})  # what every program here needs besides DISPLAY (XAUTHORITY, say)
        self._xvfb = None
        self._apps = []
        self._clipboard_servers = []
        self._directory = None

    # ---- life cycle ----

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self, timeout=10.0):
        """Starts Xvfb on the first free display from first_display upward and waits until it
        accepts connections. Raises DesktopError if Xvfb is missing or does not come up.
        A desktop made with server=":N" starts no server: it drives the one that runs there,
        and close() leaves that server alone."""
        self._directory = tempfile.mkdtemp(prefix="kestrigan-desktop-")
        if self._server is not None:
            self.display = self._server
            return self
        require_tools("Xvfb")
        failures = []
        number = self.first_display
        while len(failures) < 10 and number < self.first_display + 200:
            if not (os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}")):
                display = self._try_display(number, timeout, failures)
                if display:
                    self.display = display
                    return self
            number += 1
        self.close()
        raise DesktopError("could not start Xvfb: " + ("; ".join(failures[-3:]) or "no free display"))

    def _try_display(self, number, timeout, failures):
        # Xvfb writes the display number to -displayfd once it accepts connections; a server
        # that lost a race for the number exits instead, and we try the next one.
        read_end, write_end = os.pipe()
        width, height, depth = self.screen
        log_path = os.path.join(self._directory, f"xvfb-{number}.log")
        with open(log_path, "wb") as log:
            process = subprocess.Popen(
                ["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x{depth}",
                 "-dpi", str(self.dpi), "-nolisten", "tcp", "-noreset", "-br"],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,),
                preexec_fn=die_with_parent)
        os.close(write_end)
        announced = b""
        deadline = time.monotonic() + timeout
        try:
            while b"\n" not in announced:
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    break
                ready, _, _ = select.select([read_end], [], [], remaining)
                if not ready:
                    break
                chunk = os.read(read_end, 64)
                if not chunk:  # Xvfb closed the pipe: it exited
                    break
                announced += chunk
        finally:
            os.close(read_end)
        if b"\n" in announced:
            self._xvfb = process
            return ":" + announced.decode().strip()
        stop_process(process, 2.0)
        with open(log_path, "rb") as log:
            tail = log.read().decode("utf-8", "replace").strip()[-400:]
        failures.append(f"Xvfb :{number} did not become ready (exit code {process.returncode}): {tail}")
        return None

    def close(self):
        """Stops the launched programs, the clipboard servers and Xvfb. Safe to call twice."""
        for app in reversed(self._apps):
            app.stop()
        self._apps = []
        for server in self._clipboard_servers:
            stop_process(server, 2.0)
        self._clipboard_servers = []
        if self._xvfb is not None:
            stop_process(self._xvfb)
            self._xvfb = None
        if self._directory is not None:
            shutil.rmtree(self._directory, ignore_errors=True)
            self._directory = None
        self.display = None

    def _require_started(self):
        if self.display is None:
            raise DesktopError("the desktop is not started (use 'with Desktop() as desktop:' or start())")

    # ---- processes ----

    def environment(self, extra=None):
        """The environment for a program on this desktop: ours, with DISPLAY set and Qt told to
        use the X11 platform (a test runner may have set QT_QPA_PLATFORM=offscreen). extra adds to
        it, and removes the variables it gives as None."""
        self._require_started()
        environment = dict(os.environ)
        environment["DISPLAY"] = self.display
        environment["QT_QPA_PLATFORM"] = "xcb"
        environment.setdefault("LANG", "C.UTF-8")
        for name, value in {**self._env, **(extra or {})}.items():
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value
        return environment

    def launch(self, argv, env=None, cwd=None, group=False, pass_fds=()):
        """Starts a program on this desktop and returns its App. env adds to (or overrides)
        environment(). The program is stopped by close(); with group, it leads a process group
        of its own and whatever it started is stopped with it. pass_fds are inherited."""
        self._require_started()
        if shutil.which(argv[0]) is None and not os.access(argv[0], os.X_OK):
            raise DesktopError(f"cannot launch {argv[0]}: not found or not executable")
        index = len(self._apps)
        stdout_path = os.path.join(self._directory, f"app-{index}.out")
        stderr_path = os.path.join(self._directory, f"app-{index}.err")
        with open(stdout_path, "wb") as stdout, open(stderr_path, "wb") as stderr:
            process = subprocess.Popen(list(argv), stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr,
                                       env=self.environment(env), cwd=cwd, pass_fds=pass_fds,
                                       preexec_fn=lead_own_group if group else die_with_parent)
        app = App(process, argv, stdout_path, stderr_path, group)
        self._apps.append(app)
        return app

    def tool(self, *args, timeout=TOOL_TIMEOUT, input=None):
        """Runs an X tool (xdotool, xclip, import, ...) against this display and returns its
        stdout as bytes; raises DesktopError if it is missing, fails or times out."""
        self._require_started()
        require_tools(args[0])
        try:
            result = subprocess.run(list(args), input=input, capture_output=True, timeout=timeout,
                                    env=self.environment())
        except subprocess.TimeoutExpired:
            raise DesktopError(f"{' '.join(map(str, args))} did not finish within {timeout:g} s") from None
        if result.returncode != 0:
            raise DesktopError(f"{' '.join(map(str, args))} failed with code {result.returncode}: "
                               f"{result.stderr.decode('utf-8', 'replace').strip()}")
        return result.stdout

    def xdotool(self, *args, timeout=TOOL_TIMEOUT):
        """Runs xdotool with the given arguments; returns its stdout as text."""
        return self.tool("xdotool", *map(str, args), timeout=timeout).decode("utf-8", "replace")

    # ---- windows ----

    def find_windows(self, name, exact=False, visible=True, pid=None):
        """Ids of the windows whose title matches name: a Python regular expression searched
        in the title, or the literal whole title if exact. Titles are compared here, not by
        xdotool, whose pattern matching misses non-ASCII titles such as Chinese ones. With a
        pid, only that process's windows (by _NET_WM_PID): a window manager's frame may carry
        its window's title."""
        args = ["search"] + (["--onlyvisible"] if visible else [])
        if pid is not None:
            args += ["--all", "--pid", str(pid)]
        args += ["--name", ""]
        self._require_started()
        require_tools("xdotool")
        try:
            result = subprocess.run(["xdotool", *args], capture_output=True, timeout=TOOL_TIMEOUT,
                                    env=self.environment())
        except subprocess.TimeoutExpired:
            raise DesktopError(f"xdotool search did not finish within {TOOL_TIMEOUT:g} s") from None
        # xdotool search exits with 1 when nothing matches; that is an empty answer, not a fault.
        matches = []
        for window in (int(line) for line in result.stdout.split()):
            try:
                title = self.window_name(window)
            except DesktopError:
                continue  # the window went away meanwhile
            if (title == name) if exact else re.search(name, title):
                matches.append(window)
        return matches

    def wait_for_window(self, name, timeout=10.0, exact=False, visible=True, pid=None):
        """Waits until a window titled name (see find_windows) exists and returns its id; the
        first one if several match."""
        windows = wait_until(lambda: self.find_windows(name, exact, visible, pid), timeout,
                             f"no window titled {name!r} appeared on {self.display}")
        return windows[0]

    def window_name(self, window):
        """The window's title."""
        return self.xdotool("getwindowname", window).rstrip("\n")

    def window_geometry(self, window):
        """The window's client area on the screen, its position and size, as a Geometry. Without a
        window manager this is exactly what the program asked for. Read with xwininfo: xdotool
        counts a window manager's frame into a reparented window's position twice."""
        values = {}
        for line in self.tool("xwininfo", "-id", str(window)).decode("utf-8", "replace").splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        try:
            return Geometry(int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                            int(values["Width"]), int(values["Height"]))
        except (KeyError, ValueError):
            raise DesktopError(f"unexpected answer from xwininfo -id {window}: {values}") from None

    def focus(self, window):
        """Gives the window the keyboard focus and waits until the server agrees."""
        self.xdotool("windowfocus", "--sync", window)

    # ---- mouse ----

    def _absolute(self, x, y, window):
        if window is None:
            return x, y
        geometry = self.window_geometry(window)
        return geometry.x + x, geometry.y + y

    def mouse_move(self, x, y, window=None):
        """Moves the pointer to (x, y), relative to the window if one is given."""
        x, y = self._absolute(x, y, window)
        # No --sync: it waits forever when the pointer already stands there.
        self.xdotool("mousemove", x, y)

    def mouse_down(self, button=1):
        """Presses a mouse button where the pointer is (1 left, 2 middle, 3 right)."""
        self.xdotool("mousedown", button)

    def mouse_up(self, button=1):
        """Releases a mouse button where the pointer is."""
        self.xdotool("mouseup", button)

    def click(self, x=None, y=None, window=None, button=1, repeat=1):
        """Clicks at (x, y) (relative to the window if given), or where the pointer is."""
        if x is not None and y is not None:
            self.mouse_move(x, y, window)
        self.xdotool("click", "--repeat", repeat, button)

    def drag(self, start, end, window=None, button=1, steps=10, step_delay=0.02):
        """Presses at start, moves to end in steps (pausing step_delay seconds after each, so a
        program that polls the pointer sees the way) and releases there. start and end are
        (x, y) pairs, relative to the window if given."""
        (x0, y0), (x1, y1) = self._absolute(*start, window), self._absolute(*end, window)
        self.mouse_move(x0, y0)
        self.mouse_down(button)
        try:
            for step in range(1, steps + 1):
                self.mouse_move(round(x0 + (x1 - x0) * step / steps), round(y0 + (y1 - y0) * step / steps))
                time.sleep(step_delay)
        finally:
            self.mouse_up(button)

    def pointer(self):
        """The pointer's absolute position as (x, y)."""
        values = dict(line.partition("=")[::2] for line in self.xdotool("getmouselocation", "--shell").splitlines())
        return int(values["X"]), int(values["Y"])

    # ---- keyboard ----

    def key(self, *keys, window=None):
        """Presses and releases each key combination in turn, in xdotool's names
        ("ctrl+c", "Return", "BackSpace", "shift+Tab"). With a window, focuses it first:
        keys go to the focus window, and without a window manager nothing else sets it."""
        if window is not None:
            self.focus(window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text, window=None, delay_ms=12):
        """Types text into the focus window (focusing the window first if given): printable ASCII
        as key presses, every other run of characters (Chinese, emoji) pasted with ctrl+v.

        xdotool types a character that the keyboard map lacks by remapping a spare key code,
        pressing it and mapping it back at once. A Qt program re-reads the whole map when told
        of the change, and by then the map may already be back: the key press then means
        nothing and the character is lost. The clipboard has no such race."""
        if window is not None:
            self.focus(window)
        for run in re.findall(r"[ -~]+|[^ -~]+", text):
            if " " <= run[0] <= "~":
                timeout = TOOL_TIMEOUT + len(run) * delay_ms / 1000 * 3
                self.xdotool("type", "--clearmodifiers", "--delay", delay_ms, "--", run, timeout=timeout)
            else:
                self.set_clipboard(run)
                self.xdotool("key", "--clearmodifiers", "ctrl+v")

    # ---- clipboard ----

    def clipboard(self, selection="clipboard", timeout=5.0):
        """The text on the clipboard (or the "primary" selection) as UTF-8 text; raises
        DesktopError if no program owns it or the owner does not answer in time."""
        return self.tool("xclip", "-o", "-selection", selection, "-target", "UTF8_STRING",
                         timeout=timeout).decode("utf-8", "replace")

    def set_clipboard(self, text, selection="clipboard"):
        """Puts text on the clipboard. An xclip process owns it until another program takes
        the clipboard over; close() stops it."""
        self._require_started()
        require_tools("xclip")
        server = subprocess.Popen(["xclip", "-quiet", "-i", "-selection", selection],
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  env=self.environment(), preexec_fn=die_with_parent)
        server.stdin.write(text.encode("utf-8"))
        server.stdin.close()
        self._clipboard_servers.append(server)
        wait_until(lambda: self._clipboard_holds(text, selection), 5.0,
                   f"xclip did not take over the {selection} selection")

    def _clipboard_holds(self, text, selection):
        try:
            return self.clipboard(selection, timeout=2.0) == text
        except DesktopError:
            return False

    # ---- screen ----

    def screenshot(self, path=None, window=None):
        """Takes a screenshot of the whole screen, or of the window's area if given, and returns
        it as a Screenshot; also saves it as a PNG file if path is given."""
        image = Screenshot.from_ppm(self.tool("import", "-window", "root", "-depth", "8", "ppm:-",
                                              timeout=20.0))
        if window is not None:
            image = image.crop(self.window_geometry(window))
        if path is not None:
            image.save_png(path)
        return image

    def pixel(self, x, y, window=None):
        """The colour (red, green, blue) on the screen at (x, y), relative to the window if given."""
        x, y = self._absolute(x, y, window)
        return self.screenshot().pixel(x, y)
