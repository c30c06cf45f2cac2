#!/usr/bin/python3
"""Reads the program's windows as a screen reader does, from the AT-SPI bus.

atspi-names.py APP [ROLE:NAME ...]
Waits for the application APP on the bus, presses each control ROLE:NAME in turn (for example
"push button:Test execution"), then prints every combo box, button, dialog and label that has a
name or a description, one per line.
"""
import sys
import time

import pyatspi

SHOWN = ("combo box", "push button", "dialog", "frame", "label")


def find_app(name, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def walk(node, out, depth=0):
    try:
        out.append((node.getRoleName(), node.name, node.description))
        for child in node:
            if child is not None and depth < 40:
                walk(child, out, depth + 1)
    except Exception:  # a window closed while it was read
        pass
    return out


def press(app, role, name):
    for node in pyatspi.findAllDescendants(
            app, lambda x: x.getRoleName() == role and x.name == name):
        action = node.queryAction()
        if action.nActions > 0:
            action.doAction(0)
            return True
    return False


def main():
    app = find_app(sys.argv[1])
    if not app:
        names = [a.name for a in pyatspi.Registry.getDesktop(0) if a]
        print("not on the bus:", sys.argv[1], "; there are", names)
        return 1
    time.sleep(2)
    for step in sys.argv[2:]:
        role, name = step.split(":", 1)
        print("pressed" if press(app, role, name) else "not found", role, name)
        time.sleep(3)
    for role, name, description in walk(app, []):
        if role in SHOWN and (name or description):
            print(f"{role!r:16} name={name!r} description={description!r}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
