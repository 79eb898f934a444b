"""The status item as a user meets it: embedded in a real tray (trayer), its menu opened with a
right click and read through the accessibility tree. The tray starts only after the
application, which must then show its item. A layout whose shortcut another client
already holds shows that conflict in the menu; the About box words Tilewise for Linux.

Run inside a D-Bus session on an X server with a window manager:
    dbus-run-session -- /usr/bin/python3 tray-menu.py TILEWISE_EXECUTABLE
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import uuid


TIMEOUT = 10.0
CONTROL_OPTION = 0x40000 | 0x80000
KEY_H, KEY_J = 4, 38  # macOS key codes; the manager keeps Ctrl+Alt+arrows for itself
CONFLICT = "In use by another app or another Tilewise shortcut"


def eventually(probe, what):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"FAIL: {what}")


def hold_ctrl_alt_j():
    """Grabs Ctrl+Alt+J on the root window, as another program's shortcut would."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                    "scripts"))
    from xlib_bindings import xlib
    display = xlib.XOpenDisplay(None)
    key = xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(b"j"))
    control, mod1 = 1 << 2, 1 << 3
    xlib.XGrabKey(display, key, control | mod1, xlib.XDefaultRootWindow(display), 1, 1, 1)
    xlib.XSync(display, 0)
    return display  # the grab lasts as long as this connection


def layout(name, key):
    return {"id": str(uuid.uuid4()).upper(), "name": name, "enabled": True, "isGlobal": True,
            "shortcut": {"keyCode": key, "modifiers": CONTROL_OPTION},
            "grid": {"columns": 2, "rows": 1},
            "selection": {"startColumn": 0, "startRow": 0, "endColumn": 0, "endRow": 0}}


def tray_icon_position():
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    # The icon is a child of trayer's panel, named after the application: absolute x, y last.
    for line in tree.splitlines():
        found = re.search(r'"Tilewise": \("tilewise" "Tilewise"\)\s+(\d+)x(\d+)\+\S+\s+\+(-?\d+)\+(-?\d+)', line)
        if found and int(found.group(1)) > 1:
            width, height, x, y = map(int, found.groups())
            return x + width // 2, y + height // 2
    return None


def read_menu(choose=None):
    """Opens the menu with a right click and reads its entries from the event that announces
    it: an open popup menu is not among the application's children in the accessibility tree.
    The icon may be listed a moment before the tray has laid it out or passes it clicks: it is
    looked up again and clicked until the menu shows. The entry named `choose` is then
    chosen."""
    # Imported once the accessibility bus runs: the registry connects to it when loaded.
    import pyatspi
    from gi.repository import GLib

    eventually(lambda: any(app is not None and app.name == "Tilewise"
                           for app in pyatspi.Registry.getDesktop(0)),
               "the application never joined the accessibility bus")
    names = []

    def showing(event):
        menu = event.source
        if event.detail1 and menu is not None and menu.getRoleName() == "popup menu":
            items = [item for item in menu if item is not None]
            names.extend(item.name for item in items)
            for item in items:
                if item.name == choose:
                    item.queryAction().doAction(0)
            if names:
                pyatspi.Registry.stop()

    def open_menu():
        subprocess.run(["xdotool", "key", "Escape"])
        x, y = tray_icon_position() or (0, 0)
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], check=True)
        return True

    pyatspi.Registry.registerEventListener(showing, "object:state-changed:showing")
    GLib.timeout_add(1000, open_menu)
    GLib.timeout_add(int(TIMEOUT * 1000), lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    if choose is None:
        subprocess.run(["xdotool", "key", "Escape"])
    return names


def about_box_texts():
    """The texts of the open About box, read from the accessibility tree."""
    import pyatspi

    def texts():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tilewise":
                for window in app:
                    if window is not None and window.name == "About Tilewise":
                        labels = pyatspi.findAllDescendants(
                            window, lambda node: node.getRoleName() == "label")
                        return [label.name for label in labels] or None
        return None
    return eventually(texts, "the About box never opened")


def main():
    executable = sys.argv[1]
    directory = tempfile.mkdtemp()
    settings = os.path.join(directory, "settings.json")
    with open(settings, "w") as file:
        json.dump({"schemaVersion": 1,
                   "layouts": [layout("Left", KEY_H), layout("Right", KEY_J)]}, file)
    held = hold_ctrl_alt_j()
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    children = [subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])]
    try:
        time.sleep(0.5)  # the accessibility bus must be up before Qt looks for it
        children.append(subprocess.Popen([executable, "-TilewiseSettingsPath", settings],
                                         env=environment))
        # The tray starts after the application, as it may at login: the item appears then.
        time.sleep(1.0)
        children.append(subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right",
                                          "--widthtype", "request", "--height", "24"]))
        eventually(tray_icon_position, "the status item never embedded in trayer")
        names = read_menu()
        if not names:
            sys.exit("FAIL: the menu never opened with its entries")
        print("menu:", names)
        left = [name for name in names if name.startswith("Left    ")]
        right = [name for name in names if name.startswith("Right    ")]
        if not left or CONFLICT in left[0]:
            sys.exit(f"FAIL: the Left layout should be listed without a problem: {names}")
        if not right or not right[0].endswith("  — " + CONFLICT):
            sys.exit(f"FAIL: the Right layout should show its conflict: {names}")
        for fixed in ("About Tilewise", "Quit Tilewise"):
            if fixed not in names:
                sys.exit(f"FAIL: “{fixed}” is missing: {names}")
        read_menu(choose="About Tilewise")
        about = about_box_texts()
        if not any("A grid window arranger for Linux desktops." in text for text in about):
            sys.exit(f"FAIL: the About box does not say what Tilewise is on Linux: {about}")
        subprocess.run(["xdotool", "key", "Escape"])
        print("PASS")
    finally:
        for child in reversed(children):
            child.terminate()
            child.wait()
        del held


if __name__ == "__main__":
    main()
