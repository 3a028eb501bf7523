#!/usr/bin/python3
"""Shows a generated Tkinter program's window until it is terminated, and tells once Tk has drawn it
where it is: one JSON line {"id": X window of the root widget, "x", "y", "width", "height"} on
stdout, X root coordinates and pixels. With X and Y, the window is moved there first (as its user
could move it). Exit status 1 with the reason on stderr when the program cannot be run.

Usage: showtk.py PROGRAM [X Y]"""

import json
import sys

try:
    import tkinter
except ImportError as error:
    sys.exit(f"showtk: no tkinter in {sys.executable} ({error}); install the python3-tk package")

if len(sys.argv) not in (2, 4):
    sys.exit(__doc__)

main_loop = tkinter.Misc.mainloop
# The program's own call to the main loop returns at once; this script runs the loop afterwards.
tkinter.Misc.mainloop = lambda *args, **kwargs: None
tkinter.mainloop = lambda *args, **kwargs: None
try:
    with open(sys.argv[1], encoding="utf-8") as file:
        source = file.read()
    exec(compile(source, sys.argv[1], "exec"), {"__name__": "__main__"})
except Exception as error:  # the program's own fault, reported rather than raised
    sys.exit(f"showtk: {sys.argv[1]} failed: {type(error).__name__}: {error}")
root = tkinter._default_root
if root is None:
    sys.exit(f"showtk: {sys.argv[1]} made no Tk window")
if len(sys.argv) == 4:
    root.geometry("+%d+%d" % (int(sys.argv[2]), int(sys.argv[3])))
root.update()


def report():
    root.update_idletasks()
    print(json.dumps({"id": root.winfo_id(), "x": root.winfo_rootx(), "y": root.winfo_rooty(),
                      "width": root.winfo_width(), "height": root.winfo_height()}), flush=True)


# Once mapped and drawn: the first idle moment after it became visible.
root.after(200, report)
main_loop(root)
