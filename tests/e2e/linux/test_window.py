#!/usr/bin/env python3
# Makes a plain X window of the given size for the screensaver checks, prints its id and
# keeps it until standard input closes or the process is ended. Usage: test_window.py W H
import ctypes
import sys

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("test_window.py: no X display")
width, height = int(sys.argv[1]), int(sys.argv[2])
window = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display), 0, 0, width, height,
                                  0, 0, 0x808080)
xlib.XMapWindow(display, window)
xlib.XSync(display, 0)
print(hex(window), flush=True)
sys.stdin.read()
