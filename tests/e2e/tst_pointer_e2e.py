#!/usr/bin/python3
"""The mouse in the built designer under a real window manager (Debian's openbox), driven from
outside with xdotool: the cases of pointer_cases.py.
Usage: tst_pointer_e2e.py KESTRIGAN_BINARY"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pointer_cases  # noqa: E402
from desktop import Desktop, DesktopError, wait_until  # noqa: E402
from designerdriver import TITLE, Designer, Step, check, step  # noqa: E402


def main(binary):
    check(shutil.which("openbox"), "openbox not found: install Debian's openbox (scripts/setup.sh --tests)")
    with Desktop() as desktop:
        try:
            desktop.launch(["openbox", "--sm-disable"])
            wait_until(lambda: b"window id" in desktop.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10.0,
                       "openbox did not take over the screen")
            app = desktop.launch([binary])
            designer = Designer(desktop, desktop.wait_for_window(TITLE, exact=True, timeout=15.0))
            step("find the design window")
            wait_until(lambda: designer.palette_selected_row(designer.screenshot()) == 0, 10.0,
                       "the designer did not come up with the pointer chosen")
            designer.locate_design_client(designer.screenshot())
            pointer_cases.run(designer, step)
            check(app.running(), f"the designer exited with code {app.process.returncode}: {app.errors()[-2000:]}")
        except DesktopError as error:
            path = os.path.join(tempfile.mkdtemp(prefix="kestrigan-pointer-"), "failure.png")
            desktop.screenshot(path)
            raise DesktopError(f"step '{Step.current}': {error} (screenshot: {path})") from None
    print("pointer cases passed under openbox")


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except DesktopError as error:
        print(f"FAIL: {error}", file=sys.stderr)
        sys.exit(1)
