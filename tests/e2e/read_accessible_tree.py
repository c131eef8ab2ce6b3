"""Run inside dbus-run-session as: read_accessible_tree.py REPORT PROGRAM. Writes the role and
name of the frame and each control of PROGRAM's window to REPORT, as a screen reader reads them,
clicks where AT-SPI places the "Full Screen" label, waits until that box is checked, ends PROGRAM
with SIGTERM and exits with its status."""
import subprocess
import sys
import time

import pyatspi


def wait_for(find, seconds=10):
    for _ in range(seconds * 10):
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit("timed out")


def tree(node):
    yield node
    if node.getRoleName() not in ("list", "combo box"):  # entries are not controls
        for child in node:
            yield from tree(child)


program = subprocess.Popen(sys.argv[2:])
try:
    app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                 if a and a.get_process_id() == program.pid), None))
    nodes = wait_for(lambda: list(tree(app)) if app.childCount else None)
    with open(sys.argv[1], "w") as report:
        report.writelines(f"{n.getRoleName()} {n.name}\n" for n in nodes if n.getRoleName()
                          in {"frame", "list", "check box", "combo box", "push button"})
    label, check = (next(n for n in nodes if n.getRoleName() == role and n.name == "Full Screen")
                    for role in ("label", "check box"))
    box = label.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", "1"], check=True)
    wait_for(lambda: check.getState().contains(pyatspi.STATE_CHECKED), 5)
finally:
    program.terminate()
    try:
        status = program.wait(10)
    finally:
        program.kill()  # only if it is still there
sys.exit(status)
