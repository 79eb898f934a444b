"""Presses Ctrl+Alt+H and Ctrl+Alt+L in turn through XTEST and times each press until the
window's client area has crossed to the half of the screen the layout puts it on.
Usage: shortcut-latency.py WINDOW_ID ROUNDS   (prints one figure in ms per line)"""
import ctypes
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from xlib_bindings import xlib, xtest  # noqa: E402

xlib.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XTranslateCoordinates.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]
xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = xlib.XOpenDisplay(None)
root = xlib.XDefaultRootWindow(display)
window = int(sys.argv[1], 0)
rounds = int(sys.argv[2])
middle = xlib.XDisplayWidth(display, 0) // 2


def keycode(name):
    return xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(name.encode()))


modifiers = [keycode("Control_L"), keycode("Alt_L")]


def press(key):
    for code in modifiers + [key]:
        xtest.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(modifiers + [key]):
        xtest.XTestFakeKeyEvent(display, code, 0, 0)
    xlib.XFlush(display)


def client_x():
    x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
    xlib.XTranslateCoordinates(display, window, root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                               ctypes.byref(child))
    return x.value


for round in range(rounds):
    to_left = round % 2 == 0
    started = time.perf_counter_ns()
    press(keycode("h" if to_left else "l"))
    while (client_x() < middle) != to_left:
        time.sleep(0.0001)
    print(f"{(time.perf_counter_ns() - started) / 1e6:.3f}")
