#!/usr/bin/python3
"""Reads what a running application shows, through the accessibility bus.

  atspi.py dump APP                    every object the application shows
  atspi.py find APP ROLE NAME [NTH]    the NTH (from 1) shown object of that
                                       role and name

Each object is one line: role, name, screen extents "x y width height" and
its text, separated by tabs; dump indents children by two blanks. Roles are
AT-SPI's names ("frame", "text", "push button", "menu", "menu item"). find
exits 1 when no such object is shown, 2 when the application is not on the bus.
Needs python3-pyatspi and the session bus of the application.
"""

import sys

import pyatspi


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    print(f"no application {name!r} on the accessibility bus", file=sys.stderr)
    sys.exit(2)


def shown(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def describe(accessible):
    try:
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        extents = f"{box.x} {box.y} {box.width} {box.height}"
    except NotImplementedError:
        extents = ""
    try:
        text = accessible.queryText().getText(0, -1)
    except NotImplementedError:
        text = ""
    return "\t".join((accessible.getRoleName(), accessible.name, extents, text))


# Depth first, in the application's own order; hidden objects and what they
# hold are left out.
def walk(accessible, depth=0):
    for child in accessible:
        if child is not None and shown(child):
            yield depth, child
            yield from walk(child, depth + 1)


def main(argv):
    if len(argv) == 3 and argv[1] == "dump":
        for depth, accessible in walk(application(argv[2])):
            print("  " * depth + describe(accessible))
        return 0
    if len(argv) in (5, 6) and argv[1] == "find":
        role, name = argv[3], argv[4]
        nth = int(argv[5]) if len(argv) == 6 else 1
        for _, accessible in walk(application(argv[2])):
            if accessible.getRoleName() == role and accessible.name == name:
                nth -= 1
                if nth == 0:
                    print(describe(accessible))
                    return 0
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
