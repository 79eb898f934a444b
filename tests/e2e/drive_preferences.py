"""Drives the shown preferences window through the accessibility tree and the keyboard.

Arguments: the settings file of the running instance, and a path to export to.
"""
import json
import subprocess
import sys
import time

import pyatspi

SETTINGS, EXPORTED = sys.argv[1], sys.argv[2]
# Ctrl+Alt+H: H is the key with macOS key code 4; control and option in the settings' bits.
SHORTCUT_KEYS, SHORTCUT = "ctrl+alt+h", {"keyCode": 4, "modifiers": 0x40000 | 0x80000}


def fail(message):
    sys.exit("FAIL: " + message)


def wait_for(what, probe, timeout=15):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    fail(what)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True,
                          text=True).stdout


def application():
    for candidate in pyatspi.Registry.getDesktop(0):
        if candidate is not None and candidate.name.lower() == "tilewise":
            return candidate
    return None


def find(role, name):
    def probe():
        app = application()
        return app and pyatspi.findDescendant(
            app, lambda node: node is not None and node.getRoleName() == role
            and node.name == name and node.getState().contains(pyatspi.STATE_SHOWING))
    return wait_for(f"no {role} “{name}” on screen", probe)


def click(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def read_settings():
    try:
        with open(SETTINGS, encoding="utf-8") as file:
            return json.load(file)
    except (OSError, ValueError):
        return None


def saved_layout(name):
    settings = read_settings() or {}
    return next((layout for layout in settings.get("layouts", []) if layout["name"] == name), None)


def target_width():
    info = subprocess.run(["xwininfo", "-name", "e2e-target"], check=True, capture_output=True,
                          text=True).stdout
    return int(next(line.split(":")[1] for line in info.splitlines() if "Width:" in line))


click(find("page tab", "Layouts"))
click(find("push button", "Add Layout"))
click(find("text", "Name"))
xdotool("key", "ctrl+a")
xdotool("type", "--delay", "20", "Whole Screen")
click(find("push button", "Shortcut"))
# The recorder takes the keyboard when it starts; give the server that grab first.
time.sleep(0.3)
xdotool("key", SHORTCUT_KEYS)
layout = wait_for("the new layout never reached the settings file",
                  lambda: (saved_layout("Whole Screen") or {}).get("shortcut") and
                  saved_layout("Whole Screen"))
if layout["shortcut"] != SHORTCUT:
    fail(f"recorded {layout['shortcut']}, expected {SHORTCUT}")
print("ok: a new layout named and given Ctrl+Alt+H on the keyboard is saved")

before = target_width()
target = xdotool("search", "--name", "^e2e-target$").split()[0]
xdotool("windowactivate", "--sync", target)
xdotool("key", SHORTCUT_KEYS)
wait_for(f"the shortcut did not place the other window (width {before})",
         lambda: target_width() > 4 * before)
print(f"ok: the shortcut placed another application's window ({before} → {target_width()} wide)")


def choose_file(button, path):
    """Clicks the button and answers its file dialog by typing the path."""
    click(find("push button", button))
    time.sleep(1.0)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "10", path)
    xdotool("key", "Return")


preferences = xdotool("search", "--name", "^Tilewise Preferences$").split()[0]
xdotool("windowactivate", "--sync", preferences)
click(find("page tab", "Data"))
choose_file("Export…", EXPORTED)
find("label", "Exported to exported.json.")
with open(EXPORTED, encoding="utf-8") as exported_file:
    exported = json.load(exported_file)
if not any(layout["name"] == "Whole Screen" for layout in exported["layouts"]):
    fail("the exported file lacks the new layout")

click(find("page tab", "Layouts"))
click(find("list item", "Whole Screen"))
click(find("push button", "Remove Layout"))
wait_for("removing the layout was not saved", lambda: saved_layout("Whole Screen") is None)
click(find("page tab", "Data"))
choose_file("Import…", EXPORTED)
find("label", "Imported exported.json.")
wait_for("the import was not saved", lambda: read_settings() == exported)
print("ok: export and import round-trip the settings")
