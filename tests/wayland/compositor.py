"""A Wayland compositor nested in a private Xvfb (tests/e2e/desktop.py), with its XWayland.

    with Desktop(width=2000, height=1400) as outer:
        with Compositor(outer, "kwin", scale=2) as compositor:
            inner = compositor.x_desktop          # a Desktop on the compositor's XWayland
            inner.launch([...], env=compositor.client_environment())

The compositor shows its output as one window at the outer screen's top-left corner, the screen's
width and all but a strip at the bottom of its height, and takes its input from there: xdotool on
the outer display drives the programs inside. Everything it starts
(XWayland, the session bus and what the bus starts) runs in process groups that close() ends, in
private folders that close() removes. Kinds: "weston", "kwin" (kwin_wayland), "mutter".
"""

import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import time

from desktop import Desktop, DesktopError, wait_until

__all__ = ["Compositor", "KINDS"]

KINDS = ("weston", "kwin", "mutter")
START_TIMEOUT = 30.0
# The outer screen's rows below the output, where the pointer can leave it (see sync_pointer).
OUTSIDE_ROWS = 40


def _free_x_display(first=20, last=400):
    """Claims a free X display number the way X servers do, by creating its lock file exclusively,
    and opens its two listening sockets (the file and the abstract one) for a server started with
    -listenfd. Returns (number, lock path, [sockets])."""
    for number in range(first, last):
        lock = f"/tmp/.X{number}-lock"
        path = f"/tmp/.X11-unix/X{number}"
        _remove_stale_display(number)  # a test that was killed left its claim
        if os.path.exists(path):
            continue
        try:
            descriptor = os.open(lock, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o444)
        except FileExistsError:
            continue
        with os.fdopen(descriptor, "w") as file:
            file.write(f"{os.getpid():10d}\n")
        sockets = []
        try:
            for address in (path, "\0" + path):
                listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                sockets.append(listener)
                listener.bind(address)
                listener.listen(16)
                listener.set_inheritable(True)
        except OSError:
            for listener in sockets:
                listener.close()
            _remove(path)
            _remove(lock)
            continue
        return number, lock, sockets
    raise DesktopError(f"no free X display number between {first} and {last}")


def _remove(path):
    try:
        os.unlink(path)
    except FileNotFoundError:
        pass


def _process_alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    return True


def _remove_stale_display(number):
    """Removes the lock file and socket of a display whose server has gone without removing them
    (mutter leaves both when it is terminated)."""
    lock = f"/tmp/.X{number}-lock"
    try:
        with open(lock) as file:
            pid = int(file.read().strip() or 0)
    except (OSError, ValueError):
        return
    if pid > 0 and not _process_alive(pid):
        _remove(lock)
        _remove(f"/tmp/.X11-unix/X{number}")


class Compositor:
    """One nested compositor of the given kind, whose output fills the outer screen at the given
    scale. xwayland_scale (KWin only) makes X programs draw at the output's full resolution, as
    Plasma's "apply scaling themselves" does; without it KWin magnifies them ("scaled by the
    system"), on KWin 5.27 and 6 alike. xft_dpi puts Xft.dpi into XWayland's resources."""

    def __init__(self, outer, kind, scale=1, xwayland_scale=None, xft_dpi=None):
        if kind not in KINDS:
            raise DesktopError(f"unknown compositor {kind!r}: one of {', '.join(KINDS)}")
        if xwayland_scale is not None and kind != "kwin":
            raise DesktopError("only KWin lets X programs draw at the output's own scale")
        self.outer = outer
        self.kind = kind
        self.scale = scale
        self.xwayland_scale = xwayland_scale
        self.xft_dpi = xft_dpi
        self.x_display = None       # ":N", the compositor's XWayland
        self.wayland_display = None  # the socket's name in runtime_dir
        self.x_desktop = None       # a Desktop on x_display
        self.runtime_dir = None
        self.xauthority = None
        self._home = None
        self._apps = []
        self._bus_address = None
        self._claimed = None        # (number, lock, sockets) of a display we opened for KWin
        self._seen_displays = []
        self.kwin_version = None  # (major, minor, ...) once KWin started

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    # ---- life cycle ----

    def start(self):
        """Starts the compositor and waits until both its Wayland socket and its X display answer."""
        program = {"weston": "weston", "kwin": "kwin_wayland", "mutter": "mutter"}[self.kind]
        if shutil.which(program) is None:
            package = {"weston": "weston", "kwin": "kwin-wayland", "mutter": "mutter"}[self.kind]
            raise DesktopError(f"{program} not found: install Debian's {package} (scripts/setup.sh --tests)")
        if shutil.which("Xwayland") is None:
            raise DesktopError("Xwayland not found: install Debian's xwayland (scripts/setup.sh --tests)")
        self._home = tempfile.mkdtemp(prefix=f"kestrigan-{self.kind}-")
        self.runtime_dir = os.path.join(self._home, "runtime")
        os.mkdir(self.runtime_dir, 0o700)
        for folder in ("config", "data", "cache"):
            os.mkdir(os.path.join(self._home, folder))
        self.wayland_display = f"wayland-{self.kind}"
        try:
            if self.kind != "weston":
                self._start_bus()
            getattr(self, f"_start_{self.kind}")()
            self.x_desktop = Desktop(server=self.x_display, env=self.client_environment()).start()
            self._wait_for_x()
            if self.kind == "kwin":
                self._check_kwin_x_screen()
            if self.xft_dpi is not None:
                self.x_desktop.tool("xrdb", "-merge", input=f"Xft.dpi: {self.xft_dpi}\n".encode())
        except BaseException:
            self.close()
            raise
        return self

    def close(self):
        """Stops the compositor, its XWayland and its bus, and removes their folders and displays."""
        if self.x_desktop is not None:
            self.x_desktop.close()
            self.x_desktop = None
        for app in reversed(self._apps):
            app.stop()
        self._apps = []
        if self._claimed is not None:
            number, lock, sockets = self._claimed
            for listener in sockets:
                listener.close()
            _remove(f"/tmp/.X11-unix/X{number}")
            _remove(lock)
            self._claimed = None
        for number in self._seen_displays:
            _remove_stale_display(number)
        self._seen_displays = []
        if self._home is not None:
            shutil.rmtree(self._home, ignore_errors=True)
            self._home = None

    def log(self):
        """What the compositor wrote so far, for failure messages."""
        return "".join(app.errors() + app.output() for app in self._apps[-1:])

    # ---- environments ----

    def _base_environment(self):
        environment = {
            "XDG_RUNTIME_DIR": self.runtime_dir,
            "HOME": self._home,
            "XDG_CONFIG_HOME": os.path.join(self._home, "config"),
            "XDG_DATA_HOME": os.path.join(self._home, "data"),
            "XDG_CACHE_HOME": os.path.join(self._home, "cache"),
            "WAYLAND_DISPLAY": None,
            "WAYLAND_SOCKET": None,
            "QT_QPA_PLATFORM": None,
            "XAUTHORITY": None,
            "DBUS_SESSION_BUS_ADDRESS": self._bus_address,
        }
        return environment

    def client_environment(self, wayland=False):
        """The environment for a program inside the compositor as a Wayland desktop session gives
        it: DISPLAY its XWayland, WAYLAND_DISPLAY the compositor, the session type wayland, and no
        platform named for Qt, so the program chooses its own way; with wayland, Qt is told to draw
        on Wayland itself."""
        environment = self._base_environment()
        environment["DISPLAY"] = self.x_display
        environment["XAUTHORITY"] = self.xauthority
        environment["WAYLAND_DISPLAY"] = self.wayland_display
        environment["XDG_SESSION_TYPE"] = "wayland"
        environment["QT_QPA_PLATFORM"] = "wayland" if wayland else None
        return environment

    def _launch(self, argv, env, pass_fds=()):
        environment = self._base_environment()
        environment.update(env)
        app = self.outer.launch(argv, env=environment, group=True, pass_fds=pass_fds)
        self._apps.append(app)
        return app

    def _start_bus(self):
        # A bus of its own: left alone, KWin and mutter start one that outlives the test.
        if shutil.which("dbus-daemon") is None:
            raise DesktopError("dbus-daemon not found: install Debian's dbus-daemon (scripts/setup.sh --tests)")
        bus = self._launch(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"], {})
        output = bus.wait_for_output("\n", timeout=10.0)
        self._bus_address = output.strip().splitlines()[0]

    def _wait_for_socket(self, app):
        socket_path = os.path.join(self.runtime_dir, self.wayland_display)

        def ready():
            if not app.running():
                raise DesktopError(f"{self.kind} exited with code {app.process.returncode}: {self.log()[-3000:]}")
            return os.path.exists(socket_path)
        wait_until(ready, START_TIMEOUT, f"{self.kind} made no Wayland socket; its log: {self.log()[-2000:]}")

    def _wait_for_x(self):
        app = self._apps[-1]

        def answers():
            if not app.running():
                raise DesktopError(f"{self.kind} exited with code {app.process.returncode}: {self.log()[-3000:]}")
            try:
                return self.x_desktop.xdotool("getdisplaygeometry", timeout=5.0)
            except DesktopError:
                return None
        wait_until(answers, START_TIMEOUT, f"{self.kind}'s XWayland on {self.x_display} does not answer; "
                                           f"its log: {self.log()[-2000:]}", interval=0.2)

    def x_screen_size(self):
        """The size of the screen that X programs see, as (width, height)."""
        width, height = self.x_desktop.xdotool("getdisplaygeometry").split()
        return int(width), int(height)

    # ---- the compositors ----

    def output_size(self):
        """The output's size in outer screen pixels."""
        width, height = self.outer.screen[:2]
        return width, height - OUTSIDE_ROWS

    def _logical_size(self):
        # Weston's and KWin's windowed outputs take their size in logical pixels.
        width, height = self.output_size()
        return int(width / self.scale), int(height / self.scale)

    def sync_pointer(self):
        """Moves the outer pointer off the output and back, to where it was. Weston's X11 back end
        follows the pointer's relative motion from where it last saw it enter; a pointer that stood
        on the output when it appeared moves inside from wherever weston thinks it started."""
        x, y = self.outer.pointer()
        self.outer.mouse_move(self.outer.screen[0] // 2, self.outer.screen[1] - OUTSIDE_ROWS // 2)
        time.sleep(0.1)
        self.outer.mouse_move(min(x, self.output_size()[0] - 1), min(y, self.output_size()[1] - 1))
        time.sleep(0.1)

    def _start_weston(self):
        config = os.path.join(self._home, "weston.ini")
        with open(config, "w") as file:
            # A plain background, no panel and no animations, so that the screen settles at once.
            file.write("[core]\nidle-time=0\n"
                       "[shell]\nbackground-color=0xff1f3f5f\npanel-position=none\nlocking=false\n"
                       "animation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n")
        width, height = self._logical_size()
        app = self._launch(["weston", "--backend=x11-backend.so", "--xwayland", f"--socket={self.wayland_display}",
                            f"--width={width}", f"--height={height}", f"--scale={self.scale}",
                            f"--config={config}", "--idle-time=0"], {})
        self._wait_for_socket(app)
        # Its XWayland takes the first free display number, and says which.
        found = wait_until(lambda: re.search(r"xserver listening on display (:\d+)", self.log()), START_TIMEOUT,
                           f"weston started no XWayland; its log: {self.log()[-2000:]}")
        self.x_display = found.group(1)
        self._seen_displays.append(int(self.x_display[1:]))

    def _start_kwin(self):
        # Its binary carries file capabilities that a sandbox may refuse to run; a plain copy
        # (under its own name, which KWin reads) runs anywhere.
        binary = os.path.join(self._home, "bin", "kwin_wayland")
        os.mkdir(os.path.dirname(binary))
        shutil.copy(shutil.which("kwin_wayland"), binary)
        options = self._kwin_options(binary)
        self.kwin_version = self._kwin_version(binary)
        if self.kwin_version >= (6,):
            self._configure_kwin6()
        elif self.xwayland_scale is not None:
            # KWin 5.27 magnifies X programs unless told their scale.
            self._write_config("kwinrc", f"[Xwayland]\nScale={self.xwayland_scale}\n")
        # An X display of our own choosing: left alone, KWin takes the first free number from 0,
        # which parallel tests race for.
        self._claimed = _free_x_display()
        number, _, sockets = self._claimed
        self.x_display = f":{number}"
        width, height = self._logical_size()
        argv = [binary, "--x11-display", self.outer.display, "--socket", self.wayland_display,
                "--width", str(width), "--height", str(height), "--scale", str(self.scale),
                "--xwayland", "--xwayland-display", self.x_display]
        for listener in sockets:
            argv += ["--xwayland-fd", str(listener.fileno())]
        argv += [option for option in ("--no-lockscreen", "--no-global-shortcuts", "--no-kactivities")
                 if option in options]
        app = self._launch(argv, {"KDE_FULL_SESSION": None, "KWIN_COMPOSE": None},
                           pass_fds=[listener.fileno() for listener in sockets])
        self._wait_for_socket(app)

    def _configure_kwin6(self):
        """KWin 6 keeps each output's scale in kwinoutputconfig.json and gives a new windowed output
        scale 1 whatever --scale says; and it lets X programs draw at the largest output's scale
        unless told, as Plasma's "scaled by the system" tells it, to magnify them."""
        if self.xwayland_scale not in (None, self.scale):
            raise DesktopError("KWin 6 lets X programs draw at the output's scale or magnifies them, nothing else")
        width, height = self.output_size()  # the windowed output's mode counts in device pixels
        outputs = [{"connectorName": "X11-0", "scale": self.scale,
                    "mode": {"width": width, "height": height, "refreshRate": 60000}}]
        setups = [{"lidClosed": False, "outputs": [{"enabled": True, "outputIndex": 0, "priority": 0,
                                                     "position": {"x": 0, "y": 0}}]}]
        self._write_config("kwinoutputconfig.json", json.dumps([{"name": "outputs", "data": outputs},
                                                                {"name": "setups", "data": setups}]))
        if self.xwayland_scale is None:
            # As Plasma's display settings write it: KWin reads it from kwinrc, and from kdeglobals
            # whether to publish the scale for the fonts' Xft.dpi.
            for name in ("kwinrc", "kdeglobals"):
                self._write_config(name, "[KScreen]\nXwaylandClientsScale=false\n")

    def _check_kwin_x_screen(self):
        # The X screen tells what KWin does with X programs: the output's logical size when it
        # magnifies them, times their scale when they draw at it (KWin 5.27 at 1.5 makes a
        # 1328-pixel width of 1333: near is enough to tell the two apart).
        width, height = self._logical_size()
        factor = self.xwayland_scale or 1
        expected = (round(width * factor), round(height * factor))
        found = self.x_screen_size()
        if max(abs(a / b - 1) for a, b in zip(found, expected)) > 0.02:
            meaning = f"X programs drawing at scale {factor}" if self.xwayland_scale else "X programs magnified"
            raise DesktopError(f"KWin {'.'.join(map(str, self.kwin_version))} at scale {self.scale} gives X programs a "
                               f"{found[0]} x {found[1]} screen, not the {expected[0]} x {expected[1]} of {meaning}")

    def _write_config(self, name, text):
        with open(os.path.join(self._home, "config", name), "w") as file:
            file.write(text)

    def _kwin_run(self, binary, option):
        environment = {**os.environ, "QT_QPA_PLATFORM": "offscreen", "XDG_RUNTIME_DIR": self.runtime_dir,
                       "HOME": self._home}
        try:
            result = subprocess.run([binary, option], capture_output=True, timeout=20, env=environment)
        except subprocess.TimeoutExpired:
            raise DesktopError(f"kwin_wayland {option} did not answer within 20 s") from None
        return result.stdout.decode("utf-8", "replace")

    def _kwin_options(self, binary):
        # KWin 5.27 (Debian 12) and 6 (Debian 13) differ in their optional switches.
        text = self._kwin_run(binary, "--help")
        if "--xwayland-fd" not in text:
            raise DesktopError(f"this kwin_wayland cannot take XWayland's sockets (--xwayland-fd): {text[-500:]}")
        return set(re.findall(r"--[a-z0-9-]+", text))

    def _kwin_version(self, binary):
        """(major, minor, ...) from "kwin 6.3.6"."""
        text = self._kwin_run(binary, "--version")
        found = re.search(r"kwin\S* (\d+(?:\.\d+)*)", text)
        if found is None:
            raise DesktopError(f"kwin_wayland --version tells no version: {text[-300:]}")
        return tuple(int(part) for part in found.group(1).split("."))

    def _start_mutter(self):
        width, height = self.output_size()  # mutter's modes count in device pixels
        app = self._launch(["mutter", "--nested", "--wayland", "--wayland-display", self.wayland_display,
                            "--sm-disable"],
                           {"MUTTER_DEBUG_DUMMY_MODE_SPECS": f"{width}x{height}",
                            "MUTTER_DEBUG_DUMMY_MONITOR_SCALES": str(self.scale)})
        self._wait_for_socket(app)
        found = wait_until(lambda: re.search(r"Using public X11 display (:\d+)(?:, \(using (:\d+))?", self.log()),
                           START_TIMEOUT, f"mutter started no XWayland; its log: {self.log()[-2000:]}")
        self.x_display = found.group(1)
        self._seen_displays += [int(group[1:]) for group in found.groups() if group]
        # Its XWayland wants the key that mutter writes into the runtime folder.
        keys = wait_until(lambda: [name for name in os.listdir(self.runtime_dir)
                                   if name.startswith(".mutter-Xwaylandauth.")], 10.0,
                          "mutter wrote no key for its XWayland")
        self.xauthority = os.path.join(self.runtime_dir, keys[0])
