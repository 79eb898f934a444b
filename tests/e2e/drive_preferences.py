"""Drives the shown preferences window through the accessibility tree and the keyboard.

Arguments: the executable of the running instance, and the run's folder: its bin/xdg-open
(first on the instance's PATH) writes what it is asked to open to `opened`; exports go there.
"""
import json
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

TILEWISE, WORK = os.path.realpath(sys.argv[1]), sys.argv[2]
CONFIG = os.environ["XDG_CONFIG_HOME"]
SETTINGS, EXPORTED = f"{CONFIG}/Tilewise/settings.json", f"{WORK}/exported.json"
AUTOSTART = f"{CONFIG}/autostart"
ROOT_PICTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/root-picture")
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
    """The control on screen with that role whose name is `name` or matches it (a pattern)."""
    def named(node):
        return name.fullmatch(node.name) if isinstance(name, re.Pattern) else node.name == name

    def probe():
        app = application()
        return app and pyatspi.findDescendant(
            app, lambda node: node is not None and node.getRoleName() == role and named(node)
            and node.getState().contains(pyatspi.STATE_SHOWING))
    return wait_for(f"no {role} “{name}” on screen", probe)


def click(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def read_file(path):
    try:
        with open(path, encoding="utf-8") as file:
            return file.read()
    except OSError:
        return None


def read_settings():
    try:
        return json.loads(read_file(SETTINGS) or "")
    except ValueError:
        return None


def saved_layout(name):
    settings = read_settings() or {}
    return next((layout for layout in settings.get("layouts", []) if layout["name"] == name), None)


def target_width():
    info = subprocess.run(["xwininfo", "-name", "e2e-target"], check=True, capture_output=True,
                          text=True).stdout
    return int(next(line.split(":")[1] for line in info.splitlines() if "Width:" in line))


def preferences_window():
    return xdotool("search", "--onlyvisible", "--name", "^Tilewise Preferences$").split()[0]


def launch_at_login():
    """The switch writes and removes the autostart entry and shows the entry's real state."""
    switch = find("check box", "Launch at login")
    entry = f"{AUTOSTART}/org.tilewise.Tilewise.desktop"
    checked = lambda: switch.getState().contains(pyatspi.STATE_CHECKED)
    switch.queryAction().doAction(0)
    text = wait_for("turning it on wrote no autostart entry", lambda: read_file(entry))
    if f"\nExec={TILEWISE}\n" not in text or not wait_for("the switch stayed off", checked):
        fail(f"the autostart entry does not start {TILEWISE}, or the switch is off:\n{text}")
    switch.queryAction().doAction(0)
    wait_for("turning it off left the autostart entry", lambda: not os.path.exists(entry))
    wait_for("the switch stayed on", lambda: not checked())
    os.rmdir(AUTOSTART)
    with open(AUTOSTART, "w", encoding="utf-8"):
        pass  # a file where the folder belongs: not writable, even for root
    switch.queryAction().doAction(0)
    find("label", re.compile("Couldn't change the login item: .*“" + re.escape(AUTOSTART) +
                             "”.* Tilewise could not write its autostart entry in .*"))
    if checked():
        fail("the switch is on although no entry could be written")
    os.remove(AUTOSTART)
    print("ok: “Launch at login” writes and removes the autostart entry, and says why it cannot")


def screen_pixels():
    """The screen's pixels as the server shows them: a function from (x, y) to (red, green,
    blue)."""
    picture = subprocess.run([ROOT_PICTURE], check=True, capture_output=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", picture)
    width, height = map(int, header.groups()) if header else (0, 0)
    if not header or len(picture) - header.end() != width * height * 3:
        fail("the screenshot is not a picture of the screen")
    at = lambda x, y: header.end() + 3 * (y * width + x)
    return lambda x, y: tuple(picture[at(x, y):at(x, y) + 3])


def near(colour, wanted):
    return all(abs(a - b) <= 12 for a, b in zip(colour, wanted))


def grid_preview():
    """With the Grid tab shown in the active window, the grid and the full-grid frame lie on
    the display below the window (margins off: lines on the cells' edges) and the window still
    shows over them; closing the window removes them."""
    settings = read_settings() or {"grid": {"columns": 6, "rows": 6}}
    columns, rows = settings["grid"]["columns"], settings["grid"]["rows"]
    displays = subprocess.run([TILEWISE, "displays"], check=True, capture_output=True,
                              text=True).stdout
    left, top, width, height = map(int, re.search(r"visible (-?\d+),(-?\d+) (\d+)x(\d+)",
                                                  displays).groups())
    line_x, cell_x = left + width // columns, left + width // (2 * columns)
    row_y = top + height * 3 // (2 * rows)
    window = subprocess.run(["xwininfo", "-id", preferences_window()], check=True,
                            capture_output=True, text=True).stdout
    window_x, window_y, window_width, window_height = (
        int(re.search(field + r": +(-?\d+)", window)[1])
        for field in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
    if line_x + 3 >= window_x:
        fail("the window covers the places where the grid is looked for")
    line, frame = (166, 166, 166), (79, 112, 148)  # GridLinesView's and SelectionView's opaque
    # Without a compositing manager the frame shows its edge only: the desktop stays in sight.
    drawn = lambda pixel: (near(pixel(line_x, row_y), line) and near(pixel(left + 1, row_y), frame)
                           and not near(pixel(cell_x, row_y), frame))
    if drawn(screen_pixels()):
        fail("the grid is looked for where something else looks like it")
    click(find("page tab", "Grid"))
    pixel = wait_for("the Grid tab drew no grid below the window",
                     lambda: drawn(taken := screen_pixels()) and taken)
    # The window above the grid still shows itself: mostly its light background, not black.
    samples = [pixel(window_x + window_width * i // 20, window_y + window_height * j // 20)
               for i in range(1, 20) for j in range(1, 20)]
    if sum(min(sample) > 200 for sample in samples) < len(samples) // 2:
        fail(f"the window turned dark over its grid: {samples[:5]}…")
    subprocess.run(["wmctrl", "-c", "Tilewise Preferences"], check=True)
    wait_for("closing the window left its grid", lambda: not drawn(screen_pixels()))
    print("ok: the Grid tab draws the grid below the window, which still shows; closing the "
          "window removes it")


def second_start():
    """Started again, it asks the running one to show its preferences and ends."""
    if subprocess.run([TILEWISE], timeout=20).returncode != 0:
        fail("a second start did not end with status 0")
    wait_for("a second start showed no preferences window",
             lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                     "^Tilewise Preferences$"], capture_output=True).returncode == 0)
    find("check box", "Use margins")  # on the Grid tab, shown last
    print("ok: a second start shows “Tilewise Preferences” again, on the tab last shown")


def layout_with_shortcut():
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
    print(f"ok: the shortcut placed another application's window ({before} → {target_width()} "
          "wide)")


def choose_file(button, path):
    """Clicks the button and answers its file dialog by typing the path."""
    click(find("push button", button))
    time.sleep(1.0)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "10", path)
    xdotool("key", "Return")


def export_and_import():
    xdotool("windowactivate", "--sync", preferences_window())
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


def show_settings_file():
    """Without a file manager on the bus the folder is opened; with one, the file is shown."""
    button = find("push button", "Show Settings File")
    file_uri, folder_uri = Gio.File.new_for_path(SETTINGS).get_uri(), Gio.File.new_for_path(
        os.path.dirname(SETTINGS)).get_uri()
    click(button)
    wait_for("with no file manager on the bus its folder was not opened",
             lambda: read_file(f"{WORK}/opened") == folder_uri + "\n")
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    file_manager = subprocess.Popen(["/usr/bin/python3", f"{os.path.dirname(__file__)}/"
                                     "file_manager_stub.py", f"{WORK}/shown"])
    try:
        wait_for("the file manager never came onto the bus", lambda: bus.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "NameHasOwner", GLib.Variant("(s)", ("org.freedesktop.FileManager1",)), None,
            Gio.DBusCallFlags.NONE, -1).unpack()[0])
        click(button)
        wait_for("the file manager was not asked to show the file",
                 lambda: read_file(f"{WORK}/shown") == file_uri + "\n")
    finally:
        file_manager.terminate()
    if read_file(f"{WORK}/opened") != folder_uri + "\n":
        fail("the folder was opened although the file manager showed the file")
    print("ok: “Show Settings File” shows the file in the file manager, else opens its folder")


launch_at_login()
grid_preview()
second_start()
layout_with_shortcut()
export_and_import()
show_settings_file()
