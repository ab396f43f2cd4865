#!/usr/bin/python3
# The AT-SPI dump: the accessibility tree a screen reader sees, checked against a list.
"""Prints the accessibility tree that a running program shows on the AT-SPI
bus, as a screen reader such as Orca walks it, and checks it against a list
of expected entries.

Usage: atspi_dump.py APPLICATION_NAME EXPECTED_FILE

EXPECTED_FILE holds one entry a line, tab-separated: the role as AT-SPI names
it, the accessible name, and the states that matter here ("showing",
"hidden", "showing,default"). Lines starting with "#" are comments. Every
entry must match a node of its own in the tree; no node may be named like a
control's object name (Text8, Label23, Command1 ...).

Exit status: 0 all found, 1 a check failed, 2 usage, 3 the application or
its windows are not (yet) on the bus, 77 python3-pyatspi is missing.
"""

import re
import sys

try:
    import pyatspi
except ImportError:
    print("atspi_dump: python3-pyatspi is not installed", file=sys.stderr)
    sys.exit(77)

DESIGNER_NAME = re.compile(r"^(Text|Label|Command|Option|Frame|Form|Picture|RichTextBox|Timer)\d+$")
CHILD_WINDOWS = 4


def states_of(node):
    state = node.getState()
    states = ["showing" if state.contains(pyatspi.STATE_SHOWING) else "hidden"]
    if state.contains(pyatspi.STATE_IS_DEFAULT):
        states.append("default")
    return ",".join(states)


def walk(node, depth=0):
    yield depth, node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def read_expected(path):
    entries = []
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            role, name, states = line.split("\t")
            entries.append((role, name, states))
    return entries


def find_application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    app = find_application(sys.argv[1])
    if app is None:
        print(f"atspi_dump: {sys.argv[1]} is not on the accessibility bus", file=sys.stderr)
        return 3
    tree = [(depth, node.getRoleName(), node.name, states_of(node)) for depth, node in walk(app)]
    frames = sum(1 for _, role, _, _ in tree if role == "frame")
    if frames < 1 + CHILD_WINDOWS:
        print(f"atspi_dump: {frames} frames on the bus so far", file=sys.stderr)
        return 3

    for depth, role, name, states in tree:
        print(f"{'  ' * depth}[{role}] {name!r} ({states})")

    failures = []
    for _, role, name, _ in tree:
        if DESIGNER_NAME.match(name):
            failures.append(f"a {role} is read by an object name: {name!r}")
    unmatched = [(role, name, states) for _, role, name, states in tree]
    for entry in read_expected(sys.argv[2]):
        if entry in unmatched:
            unmatched.remove(entry)
        else:
            failures.append("not in the tree: [%s] %r (%s)" % entry)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
