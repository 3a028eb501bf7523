#!/usr/bin/python3
"""Runs a generated Tkinter program without its main loop and reports the window that Tk built.

Usage:
    tkprobe.py [--timeout SECONDS] PROGRAM
        Prints one JSON object describing the root window and its child widgets.
    tkprobe.py [--timeout SECONDS] --batch DIRECTORY
    tkprobe.py [--timeout SECONDS] --serve
        Runs every *.py file of DIRECTORY in name order, each in a fresh Tk root, and prints one
        JSON line per program: {"file": NAME, "ok": true, "window": {...}} or
        {"file": NAME, "ok": false, "kind": KIND, "error": MESSAGE}.

The window object:
    {"title": str, "width": int, "height": int, "geometry": str, "mainloopCalled": bool,
     "widgets": [{"variable": str or null, "path": str, "tkClass": str, "x": int, "y": int,
                  "width": int, "height": int, "text": str or null, "font": str or null,
                  "fontFamily": str or null, "fontSize": int or null, "fontFace": str or null,
                  "fontPoints": int or null, "mapped": bool,
                  "place": {"x": int, "y": int, "width": int, "height": int} or null}, ...]}
Widgets are the root's direct children in creation order. "text" is null for widgets without a
text option (Entry); "font" is the option as the program gave it, "fontFace"/"fontPoints" its two
parts when it is a (face, size) pair, "fontFamily"/"fontSize" what Tk resolved it to (a negative
size is in pixels, as in Tk). "mapped" tells whether the widget is on the screen (the placer
leaves one of zero width or height off it); "place" holds the placer's options.

Exit codes of the single-program mode (the message goes to stderr):
    0 ok, 1 usage or internal fault, 2 the program does not compile, 3 no display,
    4 the program raised while running, 5 the program ran longer than the timeout.
    The serve mode reads program paths from stdin, one a line, and answers each with one JSON line
    as the batch mode does, as soon as it has run; it saves the start of a Python and of Tk per
    program when the programs come one at a time.
The batch mode exits 0 once every program has been reported, the serve mode at the end of its
input; both exit 3 without a display.

Runs under Debian's /usr/bin/python3 (which has tkinter), standard library only.
"""

import ast
import json
import os
import signal
import sys
import traceback

EXIT_USAGE, EXIT_SYNTAX, EXIT_DISPLAY, EXIT_RUNTIME, EXIT_TIMEOUT = 1, 2, 3, 4, 5
EXIT_BY_KIND = {"syntax": EXIT_SYNTAX, "display": EXIT_DISPLAY, "runtime": EXIT_RUNTIME,
                "timeout": EXIT_TIMEOUT}

try:
    import tkinter
    import tkinter.font
except ImportError as error:
    sys.stderr.write(f"tkprobe: tkinter is not available in {sys.executable} ({error}); "
                     "install the python3-tk package\n")
    sys.exit(EXIT_USAGE)


class ProbeError(Exception):
    """A program that could not be run to the end; kind is one of EXIT_BY_KIND's keys."""

    def __init__(self, kind, message):
        super().__init__(message)
        self.kind = kind
        self.message = message


class _Timeout(BaseException):
    # A BaseException so that a program's own "except Exception" cannot swallow it.
    pass


# The main loop is neutralised by patching it, not by cutting the last statement off the text:
# the patch catches every way into the loop (Window.mainloop(), a bare mainloop(), any widget's
# mainloop()) wherever it stands, keeps the program's line numbers intact for error messages,
# and still lets us report whether the program asked for the loop at all. Cutting text would
# hang the probe the day the generated program ends differently.
_state = {"mainloop_called": False, "roots": []}


def _no_mainloop(*args, **kwargs):
    _state["mainloop_called"] = True


_original_tk_init = tkinter.Tk.__init__


def _recording_tk_init(self, *args, **kwargs):
    _original_tk_init(self, *args, **kwargs)
    _state["roots"].append(self)


tkinter.Misc.mainloop = _no_mainloop
tkinter.mainloop = _no_mainloop
tkinter.Tk.__init__ = _recording_tk_init


def _on_alarm(signum, frame):
    raise _Timeout()


def _is_display_failure(error):
    text = str(error)
    return isinstance(error, tkinter.TclError) and (
        "couldn't connect to display" in text or "no display name" in text)


def _describe_syntax_error(path, error):
    where = f"line {error.lineno}" if error.lineno else "unknown line"
    if error.offset:
        where += f", column {error.offset}"
    text = (error.text or "").rstrip("\r\n")
    message = f"{type(error).__name__} at {where}: {error.msg}"
    return message + (f"\n    {text}" if text else "")


def _describe_runtime_error(path, error):
    # Point at the program's own line, not at tkinter's internals.
    frames = [frame for frame in traceback.extract_tb(error.__traceback__) if frame.filename == path]
    where = f" at line {frames[-1].lineno}" if frames else ""
    source = f"\n    {frames[-1].line}" if frames and frames[-1].line else ""
    return f"{type(error).__name__}{where}: {error}{source}"


def _tcl_text(root, value):
    """The string form of an option value as Tcl holds it (a font tuple becomes '{a b} 9')."""
    if value is None or isinstance(value, str):
        return value
    if isinstance(value, (tuple, list)):
        return str(root.tk.call("format", "%s", value))
    return str(value)


def _widget_info(root, widget, names):
    # Ask only for exact option names: Tk accepts abbreviations, so an Entry would answer
    # cget('text') with its -textvariable.
    options = set(widget.keys())
    text = _tcl_text(root, widget.cget("text")) if "text" in options else None
    font = _tcl_text(root, widget.cget("font")) if "font" in options else None
    family = size = None
    face = points = None
    if font is not None:
        actual = tkinter.font.Font(root=root, font=font).actual()
        family, size = actual["family"], int(actual["size"])
        # The font as the program wrote it: a (face, size) pair comes back as a two-element list.
        parts = root.tk.splitlist(font)
        if len(parts) == 2:
            face = str(parts[0])
            try:
                points = int(str(parts[1]))
            except ValueError:
                points = None
    return {
        "variable": names.get(str(widget)),
        "path": str(widget),
        "tkClass": widget.winfo_class(),
        "x": widget.winfo_x(),
        "y": widget.winfo_y(),
        "width": widget.winfo_width(),
        "height": widget.winfo_height(),
        "text": text,
        "font": font,
        "fontFamily": family,
        "fontSize": size,
        "fontFace": face,
        "fontPoints": points,
        "mapped": bool(widget.winfo_ismapped()),
        "place": _place_info(widget),
    }


def _place_info(widget):
    """The x, y, width and height the placer was given, or null for a widget it does not manage.
    Tk leaves a widget of zero width or height unmapped, so only these show where it would be."""
    if widget.winfo_manager() != "place":
        return None
    info = widget.place_info()
    result = {}
    for key in ("x", "y", "width", "height"):
        try:
            result[key] = int(info.get(key, ""))
        except ValueError:
            result[key] = None
    return result


def _assigned_name(statement):
    """The variable a top-level statement assigns to, if it is a plain 'name = ...'."""
    if isinstance(statement, ast.Assign) and len(statement.targets) == 1:
        target = statement.targets[0]
    elif isinstance(statement, ast.AnnAssign):
        target = statement.target
    else:
        return None
    return target.id if isinstance(target, ast.Name) else None


def _children(root):
    return [str(child) for child in root.winfo_children()] if root is not None else []


def _run_statements(path, tree, namespace):
    """Executes the module statement by statement and names the widgets each one created.

    Generated lines read 'Label1 = Label(...).place(...)', so the variable holds None and
    the widget can only be named by watching which child appears during its statement."""
    names = {}
    for statement in tree.body:
        root = _state["roots"][0] if _state["roots"] else None
        before = set(_children(root))
        code = compile(ast.Module(body=[statement], type_ignores=[]), path, "exec")
        exec(code, namespace)
        name = _assigned_name(statement)
        root = _state["roots"][0] if _state["roots"] else None
        if name is not None:
            for child in _children(root):
                if child not in before:
                    names.setdefault(child, name)
    return names


def probe(path, timeout):
    """Runs one program file and returns the window object; raises ProbeError."""
    with open(path, "rb") as file:
        source = file.read()
    try:
        tree = compile(source, path, "exec", flags=ast.PyCF_ONLY_AST, dont_inherit=True)
    except (SyntaxError, ValueError) as error:
        if isinstance(error, SyntaxError):
            raise ProbeError("syntax", _describe_syntax_error(path, error)) from None
        raise ProbeError("syntax", f"{type(error).__name__}: {error}") from None

    _state["mainloop_called"] = False
    _state["roots"] = []
    namespace = {"__name__": "__main__", "__file__": path, "__builtins__": __builtins__}
    saved_stdout = sys.stdout
    sys.stdout = sys.stderr  # the program's prints must not mix with our JSON
    signal.signal(signal.SIGALRM, _on_alarm)
    signal.alarm(timeout)
    try:
        names = _run_statements(path, tree, namespace)
        if not _state["roots"]:
            raise ProbeError("runtime", "the program created no Tk root window")
        root = _state["roots"][0]
        root.update()
        window = {
            "title": root.wm_title(),
            "width": root.winfo_width(),
            "height": root.winfo_height(),
            "geometry": root.wm_geometry(),
            "mainloopCalled": _state["mainloop_called"],
            "widgets": [_widget_info(root, child, names) for child in root.winfo_children()],
        }
        return window
    except ProbeError:
        raise
    except _Timeout:
        raise ProbeError("timeout", f"the program ran longer than {timeout} s") from None
    except BaseException as error:  # SystemExit too: a program must not end the probe
        if _is_display_failure(error):
            raise ProbeError("display", f"no display: {error}") from None
        raise ProbeError("runtime", _describe_runtime_error(path, error)) from None
    finally:
        signal.alarm(0)
        sys.stdout = saved_stdout
        for root in reversed(_state["roots"]):
            try:
                root.destroy()
            except Exception:
                pass  # already destroyed by the program itself
        _state["roots"] = []


def _check_display():
    if not os.environ.get("DISPLAY"):
        sys.stderr.write("tkprobe: no display: DISPLAY is not set (start Xvfb and set DISPLAY)\n")
        sys.exit(EXIT_DISPLAY)


def _emit(obj):
    sys.stdout.write(json.dumps(obj, ensure_ascii=True) + "\n")
    sys.stdout.flush()


def main(argv):
    args = list(argv[1:])
    timeout = 10
    if len(args) >= 2 and args[0] == "--timeout":
        try:
            timeout = max(1, int(args[1]))
        except ValueError:
            args = []
        args = args[2:]
    batch = len(args) == 2 and args[0] == "--batch"
    serve = args == ["--serve"]
    if not batch and not serve and len(args) != 1:
        sys.stderr.write(__doc__)
        return EXIT_USAGE

    if serve:
        _check_display()
        while True:
            line = sys.stdin.readline()
            if not line:
                return 0
            path = line.rstrip("\r\n")
            if not path:
                continue
            name = os.path.basename(path)
            try:
                _emit({"file": name, "ok": True, "window": probe(path, timeout)})
            except ProbeError as error:
                if error.kind == "display":
                    sys.stderr.write(f"tkprobe: {error.message}\n")
                    return EXIT_DISPLAY
                _emit({"file": name, "ok": False, "kind": error.kind, "error": error.message})
            except OSError as error:
                _emit({"file": name, "ok": False, "kind": "runtime", "error": f"cannot read {path}: {error}"})

    if batch:
        directory = args[1]
        if not os.path.isdir(directory):
            sys.stderr.write(f"tkprobe: no such directory: {directory}\n")
            return EXIT_USAGE
        _check_display()
        for name in sorted(n for n in os.listdir(directory) if n.endswith(".py")):
            path = os.path.join(directory, name)
            try:
                _emit({"file": name, "ok": True, "window": probe(path, timeout)})
            except ProbeError as error:
                if error.kind == "display":
                    sys.stderr.write(f"tkprobe: {error.message}\n")
                    return EXIT_DISPLAY
                _emit({"file": name, "ok": False, "kind": error.kind, "error": error.message})
        return 0

    path = args[0]
    if not os.path.isfile(path):
        sys.stderr.write(f"tkprobe: no such file: {path}\n")
        return EXIT_USAGE
    _check_display()
    try:
        _emit(probe(path, timeout))
    except ProbeError as error:
        sys.stderr.write(f"tkprobe: {error.message}\n")
        return EXIT_BY_KIND[error.kind]
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
