"""accessible_controls.py PID: every object of the windows of process PID as a screen reader
finds it through AT-SPI, one a line: its role, its name, its place on the screen (x, y, width,
height) and 1 when it is checked, else 0, separated by tabs. Nothing while the process has not
shown its window to AT-SPI yet."""
import sys

import pyatspi


def tree(node):
    yield node
    if node.getRoleName() != "combo box":  # its entries are those of a pop-up
        for child in node:
            yield from tree(child)


lines = []
for app in pyatspi.Registry.getDesktop(0):
    try:
        if app.get_process_id() == int(sys.argv[1]):
            for node in (node for window in app for node in tree(window)):
                box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                lines.append("\t".join(str(part).replace("\t", " ").replace("\n", " ") for part in (
                    node.getRoleName(), node.name, box.x, box.y, box.width, box.height,
                    int(node.getState().contains(pyatspi.STATE_CHECKED)))))
    except Exception:  # an application that went away meanwhile
        continue
print("\n".join(lines))
