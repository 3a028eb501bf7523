#!/usr/bin/python3
"""Shows the window of a generated Tkinter program for tst_tklook to grab from the screen.

Usage: tklookwindow.py PROGRAM

Runs the program without its main loop and, once Tk has drawn the window, prints one JSON line:
where the window is, whether it has the keyboard focus, and each mapped child as Tk tells it. It
then waits for a line on standard input, shows every radio and check button whose indicator Tk
draws selected, with its own variable and a select colour no design uses (#ff00ff), and prints
"selected": the pixels that change are Tk's own indicators. It ends at the next line.
"""
import json
import sys
import tkinter

SELECTED_COLOUR = '#ff00ff'


def drawn(root):
    root.update()
    root.after(200)
    root.update()


def describe(widget):
    return {'class': widget.winfo_class(), 'x': widget.winfo_x(), 'y': widget.winfo_y(),
            'width': widget.winfo_width(), 'height': widget.winfo_height(),
            'border': widget.winfo_pixels(widget.cget('borderwidth')), 'relief': str(widget.cget('relief')),
            'highlight': widget.winfo_pixels(widget.cget('highlightthickness')),
            'indicator': 'indicatoron' in widget.keys() and widget.tk.getboolean(widget.cget('indicatoron'))}


def main(path):
    tkinter.Misc.mainloop = lambda *a, **k: None
    tkinter.mainloop = lambda *a, **k: None
    with open(path, encoding='utf-8') as program:
        exec(compile(program.read(), path, 'exec'), {})
    root = tkinter._default_root
    drawn(root)
    children = [w for w in root.winfo_children() if w.winfo_ismapped()]
    print(json.dumps({'window': [root.winfo_rootx(), root.winfo_rooty(), root.winfo_width(), root.winfo_height()],
                      'focused': root.focus_displayof() is not None,
                      'widgets': [describe(w) for w in children]}), flush=True)
    sys.stdin.readline()
    for number, widget in enumerate(children):
        if describe(widget)['indicator']:
            widget.configure(variable=tkinter.StringVar(root, name='kestrigan_look_%d' % number),
                             selectcolor=SELECTED_COLOUR)
            widget.select()
    drawn(root)
    print('selected', flush=True)
    sys.stdin.readline()


if __name__ == '__main__':
    main(sys.argv[1])
