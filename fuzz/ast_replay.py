#!/usr/bin/env python3
"""Reads back every program the generate target wrote: Python must parse it, and its string
literals, in the order they stand, must be exactly the texts the design held.
Usage: ast_replay.py FOLDER"""
import ast
import json
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])
programs = sorted(folder.glob("*.py"))
if not programs:
    sys.exit(f"no programs in {folder}: the generate target wrote none")
for path in programs:
    source = path.read_bytes().decode("utf-8")
    tree = ast.parse(source, filename=str(path))
    found = sorted((node.lineno, node.col_offset, node.value) for node in ast.walk(tree)
                   if isinstance(node, ast.Constant) and isinstance(node.value, str))
    # The geometry string on line 5 is a literal too, but not a text of the design.
    literals = [value for line, _, value in found if line != 5]
    expected = json.loads(path.with_suffix(".json").read_text(encoding="utf-8"))
    if literals != expected:
        sys.exit(f"{path}: literals read back as {literals!r}, expected {expected!r}")
print(f"{len(programs)} programs read back")
