#!/usr/bin/env python3
"""Checks that the folders of a source tree depend one way, from the bottom up:

    platform <- text <- dates <- targets <- engine <- operation <- setups <- ui, cli

A file of the core (any folder but ui/ and cli/, and not a window or dialog, whose names end in
_window or _dialog and which build into the desktop program) includes nothing from a folder
above its own and nothing of Qt; the platform layer includes no other folder of the tree.
Prints one line per breach, naming the file and the include, and exits with 1 when there is any.

Usage: include_guard.py SOURCE_FOLDER
"""
import os
import re
import sys

LAYERS = ["platform", "text", "dates", "targets", "engine", "operation", "setups"]
FRONT_ENDS = ["ui", "cli"]
LEVEL = {name: level for level, name in enumerate(LAYERS)}
LEVEL.update({name: len(LAYERS) for name in FRONT_ENDS})

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
QT = re.compile(r"^(Q[A-Za-z]|qt|QtCore/|QtGui/|QtWidgets/)")
GUI_FILE = re.compile(r"_(window|dialog)\.(h|cpp)$")


def breaches(source):
    found = []
    for root, _, files in os.walk(source):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, source).replace(os.sep, "/")
            folder = relative.split("/")[0]
            if folder not in LEVEL:
                continue
            front_end = folder in FRONT_ENDS or GUI_FILE.search(name)
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    bracket, included = match.groups()
                    closing = ">" if bracket == "<" else '"'
                    where = f"{relative}:{number}: includes {bracket}{included}{closing}"
                    target = included.split("/")[0] if "/" in included else None
                    if front_end:
                        continue
                    if bracket == "<" and QT.match(included):
                        found.append(f"{where}: Qt, which only the desktop program's files may use")
                    elif folder == "platform" and target in LEVEL and target != "platform":
                        found.append(f"{where}: the platform layer includes nothing of the program")
                    elif target in LEVEL and LEVEL[target] > LEVEL[folder]:
                        found.append(f"{where}: {target}/ lies above {folder}/")
    return found


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    found = breaches(sys.argv[1])
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
