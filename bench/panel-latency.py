"""Presses the panel shortcut (Super+Alt+G) through XTEST and times each press until the grid
panel is mapped and holds the keyboard: the server tells the panel's window that a grab made it
the keyboard's (FocusIn, mode NotifyGrab), and a grab of our own is then refused with
AlreadyGrabbed. Closes the panel with Escape and waits until the keyboard is free again.
Usage: panel-latency.py ROUNDS   (prints one figure in ms per line)"""
import ctypes
import os
import select
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from xlib_bindings import xlib, xtest  # noqa: E402
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                               ctypes.c_int, ctypes.c_ulong]
xlib.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

SUBSTRUCTURE_NOTIFY_MASK, FOCUS_CHANGE_MASK = 1 << 19, 1 << 21
MAP_NOTIFY, UNMAP_NOTIFY, FOCUS_IN = 19, 18, 9
NOTIFY_GRAB = 1
GRAB_MODE_ASYNC, GRAB_SUCCESS, ALREADY_GRABBED = 1, 0, 1
PANEL_NAME = b"Tilewise Grid"
TIMEOUT_S = 5

display = xlib.XOpenDisplay(None)
root = xlib.XDefaultRootWindow(display)
xlib.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
rounds = int(sys.argv[1])
event = (ctypes.c_long * 24)()  # an XEvent: 192 bytes
names = {}


def keycode(name):
    return xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(name.encode()))


def press(*names_of_keys):
    codes = [keycode(name) for name in names_of_keys]
    for code in codes:
        xtest.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(codes):
        xtest.XTestFakeKeyEvent(display, code, 0, 0)
    xlib.XFlush(display)


def is_panel(window):
    if window not in names:
        name = ctypes.c_char_p()
        xlib.XFetchName(display, window, ctypes.byref(name))
        names[window] = name.value
        if name.value is not None:
            xlib.XFree(name)
    return names[window] == PANEL_NAME


def event_type():
    return event[0] & 0xFFFFFFFF


def wait_for(happened, deadline):
    """Reads events until `happened` says yes to one; false at the deadline."""
    while time.monotonic() < deadline:
        while xlib.XPending(display):
            xlib.XNextEvent(display, event)
            if happened():
                return True
        select.select([xlib.XConnectionNumber(display)], [], [], 0.05)
    return False


def panel_event(kind):
    # The window of a (Un)MapNotify is the event's sixth word.
    return lambda: event_type() == kind and is_panel(event[5])


def panel_took_keyboard():
    # A FocusIn names its window in the fifth word; its mode is the int after it.
    return (event_type() == FOCUS_IN and is_panel(event[4])
            and event[5] & 0xFFFFFFFF == NOTIFY_GRAB)


def keyboard_grabbed_by_another():
    status = xlib.XGrabKeyboard(display, root, 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, 0)
    if status == GRAB_SUCCESS:
        xlib.XUngrabKeyboard(display, 0)
        xlib.XSync(display, 0)
    return status == ALREADY_GRABBED


def close_panel():
    press("Escape")
    if not wait_for(panel_event(UNMAP_NOTIFY), time.monotonic() + TIMEOUT_S):
        sys.exit("panel-latency: Escape did not close the panel")
    deadline = time.monotonic() + TIMEOUT_S
    while keyboard_grabbed_by_another():
        if time.monotonic() > deadline:
            sys.exit("panel-latency: the keyboard stayed grabbed after the panel closed")
        time.sleep(0.001)
    # Lets the application finish what the dismissal started before the next press.
    time.sleep(0.05)


# The first presses may come before the application has registered its shortcut.
for attempt in range(40):
    press("Super_L", "Alt_L", "g")
    if wait_for(panel_event(MAP_NOTIFY), time.monotonic() + 0.5):
        break
else:
    sys.exit("panel-latency: the panel shortcut never showed the panel")
# The panel's window is made once and shown again at every press.
xlib.XSelectInput(display, event[5], FOCUS_CHANGE_MASK)
if not wait_for(panel_took_keyboard, time.monotonic() + TIMEOUT_S) and \
        not keyboard_grabbed_by_another():
    sys.exit("panel-latency: the panel never took the keyboard")
close_panel()

for round in range(rounds):
    started = time.perf_counter_ns()
    press("Super_L", "Alt_L", "g")
    if not wait_for(panel_took_keyboard, time.monotonic() + TIMEOUT_S):
        sys.exit("panel-latency: the panel did not take the keyboard")
    elapsed = time.perf_counter_ns() - started
    if not keyboard_grabbed_by_another():
        sys.exit("panel-latency: the panel said it took the keyboard, yet it is free")
    print(f"{elapsed / 1e6:.3f}", flush=True)
    close_panel()
