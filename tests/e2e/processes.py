"""Programs that end-to-end tests start: bounded waits, child processes that end with the test,
and what a launched program printed. Standard library only."""

import ctypes
import os
import shutil
import signal
import subprocess
import time

PYTHON = "/usr/bin/python3"

# Which Debian package provides each outside tool, for the error message when one is missing.
TOOL_PACKAGES = {
    "Xvfb": "xvfb",
    "xdotool": "xdotool",
    "xclip": "xclip",
    "import": "imagemagick",
    "xwininfo": "x11-utils",
}

class DesktopError(AssertionError):
    """Something on the desktop failed or timed out; the message says what."""


def require_tools(*names):
    """Raises DesktopError listing every missing tool and the package that provides it."""
    missing = [name for name in names if shutil.which(name) is None]
    if missing:
        packages = sorted({TOOL_PACKAGES.get(name, name) for name in missing})
        raise DesktopError(f"missing tool(s): {', '.join(missing)}; install the Debian package(s) "
                           f"{', '.join(packages)} (scripts/setup.sh --tests)")


def wait_until(predicate, timeout, message, interval=0.05):
    """Calls predicate() until it returns something truthy and returns that; after timeout
    seconds raises DesktopError with the message."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise DesktopError(f"{message} (waited {timeout:g} s)")
        time.sleep(interval)


def die_with_parent():
    # Runs in the child between fork and exec: SIGTERM it when we die, even by SIGKILL.
    PR_SET_PDEATHSIG = 1
    try:
        ctypes.CDLL("libc.so.6", use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
    except OSError:
        pass


def lead_own_group():
    # A program that starts servers of its own (a compositor its X server, a bus its services)
    # leads a process group, so that stopping it reaches them too.
    os.setpgid(0, 0)
    die_with_parent()


def stop_process(process, timeout=5.0, group=False):
    def send(sig):
        try:
            if group:
                os.killpg(process.pid, sig)
            else:
                process.send_signal(sig)
        except ProcessLookupError:
            pass
    if process.poll() is not None:
        if group:
            send(signal.SIGKILL)  # what the leader left behind
        return process.returncode
    send(signal.SIGTERM)
    try:
        code = process.wait(timeout)
    except subprocess.TimeoutExpired:
        send(signal.SIGKILL)
        code = process.wait(timeout)
    if group:
        send(signal.SIGKILL)
    return code


class App:
    """A program started with Desktop.launch(); its output goes to files that can be read any time."""

    def __init__(self, process, argv, stdout_path, stderr_path, group=False):
        self.process = process
        self.argv = list(argv)
        self._stdout_path = stdout_path
        self._stderr_path = stderr_path
        self._group = group

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        """True while the program has not exited."""
        return self.process.poll() is None

    def output(self):
        """Everything the program wrote to stdout so far (UTF-8, undecodable bytes replaced)."""
        with open(self._stdout_path, "rb") as file:
            return file.read().decode("utf-8", "replace")

    def errors(self):
        """Everything the program wrote to stderr so far."""
        with open(self._stderr_path, "rb") as file:
            return file.read().decode("utf-8", "replace")

    def wait_for_output(self, text, timeout=10.0):
        """Waits until stdout contains text; raises DesktopError (with the output so far) if the
        program exits or the time runs out first. Returns the whole output."""
        deadline = time.monotonic() + timeout
        while True:
            output = self.output()
            if text in output:
                return output
            if not self.running():
                raise DesktopError(f"{self.argv[0]} exited with code {self.process.returncode} before "
                                   f"printing {text!r}; stdout: {output[-2000:]!r}; "
                                   f"stderr: {self.errors()[-2000:]!r}")
            if time.monotonic() >= deadline:
                raise DesktopError(f"{self.argv[0]} did not print {text!r} within {timeout:g} s; "
                                   f"stdout: {output[-2000:]!r}; stderr: {self.errors()[-2000:]!r}")
            time.sleep(0.05)

    def wait(self, timeout=10.0):
        """Waits for the program to exit and returns its exit code."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DesktopError(f"{self.argv[0]} did not exit within {timeout:g} s") from None

    def stop(self, timeout=5.0):
        """Terminates the program (then kills it after timeout seconds); returns its exit code.
        A program launched with its own group takes the rest of its group with it."""
        return stop_process(self.process, timeout, self._group)
