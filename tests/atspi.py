#!/usr/bin/python3
"""Reads what a running application shows, through the accessibility bus.

  atspi.py dump APP                  every object it shows, children indented
  atspi.py find APP ROLE NAME        the first shown object of that role
                                     ("frame", "text", "menu item") and name

One object a line: role, name, screen extents "x y width height", text, split
by tabs. find exits 1 when there is no such object; either exits 2 when the
application is not on the bus.
"""

import sys

import pyatspi


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


# Depth first, in the application's order, leaving out what is hidden.
def shown(accessible, depth=0):
    for child in accessible:
        if child is not None and child.getState().contains(pyatspi.STATE_SHOWING):
            yield depth, child
            yield from shown(child, depth + 1)


def main(command, app_name, *wanted):
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == app_name]
    if not apps:
        print(f"no application {app_name!r} on the accessibility bus", file=sys.stderr)
        return 2
    if command == "dump":
        for depth, accessible in shown(apps[0]):
            print("  " * depth + describe(accessible))
        return 0
    role, name = wanted
    found = [a for _, a in shown(apps[0]) if a.getRoleName() == role and a.name == name]
    if not found:
        return 1
    print(describe(found[0]))
    return 0


if __name__ == "__main__":
    args = sys.argv[1:]
    if not (args[:1] == ["dump"] and len(args) == 2 or args[:1] == ["find"] and len(args) == 4):
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*args))
