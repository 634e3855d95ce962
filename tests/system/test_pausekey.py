# SPDX-License-Identifier: GPL-3.0-or-later
"""The way back to a window put away without the tray: three presses of Pause, sent through XTest. Three quick taps
of 10 ms each, shorter than any poll, show the window, also while another client grabs the keyboard; so does the
key held down; two taps do not. With a window
manager and no tray, "Свернуть" minimises the window, which unmaps it as hiding does."""

import ctypes
import ctypes.util
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fixture import Fixture, MainWindow, _xlib, skip, wait_until  # noqa: E402

HIDE_BUTTON = (386 + 92 + 41, 60 + 42 + 12)  # "Свернуть" in the "Действия" group
XK_PAUSE = 0xFF13


class Keyboard:
    """Presses and releases keys through XTest on a connection of its own, flushed at once."""

    def __init__(self, display):
        self.xlib = _xlib()
        name = ctypes.util.find_library("Xtst")
        if self.xlib is None or name is None:
            skip("libX11 or libXtst cannot be loaded")
        self.xtst = ctypes.CDLL(name)
        self.xlib.XOpenDisplay.restype = ctypes.c_void_p
        self.xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xlib.XFlush.argtypes = [ctypes.c_void_p]
        self.xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.xlib.XOpenDisplay(display.encode())
        self.keycode = self.xlib.XKeysymToKeycode(self.dpy, XK_PAUSE)

    def key(self, down):
        self.xtst.XTestFakeKeyEvent(self.dpy, self.keycode, 1 if down else 0, 0)
        self.xlib.XFlush(self.dpy)

    def tap(self, hold):
        self.key(True)
        time.sleep(hold)
        self.key(False)

    def grab(self):
        """Takes the whole keyboard, as another program's open menu does; released when the connection closes."""
        self.xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        self.xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                            ctypes.c_ulong]
        self.xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        status = self.xlib.XGrabKeyboard(self.dpy, self.xlib.XDefaultRootWindow(self.dpy), 0, 1, 1, 0)
        self.xlib.XSync(self.dpy, 0)
        return status == 0

    def close(self):
        self.xlib.XCloseDisplay(self.dpy)


def hide(fx, window, failures, why):
    time.sleep(1.0)  # a window just mapped takes a moment to be placed by the window manager
    fx.click(window.id, *HIDE_BUTTON)
    try:
        wait_until(lambda: not window.mapped(), 10, what=f"the window put away by 'Свернуть' ({why})")
        return True
    except TimeoutError as e:
        failures.append(str(e))
        return False


def expect_back(window, failures, after):
    try:
        wait_until(window.mapped, 10, what=f"the window back after {after}")
    except TimeoutError as e:
        failures.append(str(e))


def main():
    failures = []
    with Fixture("pausekey", wm=True) as fx:
        keyboard = Keyboard(fx.display)
        program = fx.run_program()
        window = MainWindow(fx, program, timeout=30)

        if hide(fx, window, failures, "quick taps"):
            keyboard.tap(0.01)
            keyboard.tap(0.01)
            time.sleep(1.0)
            if window.mapped():
                failures.append("two taps of Pause showed the window")
            keyboard.tap(0.01)
            expect_back(window, failures, "three 10 ms taps of Pause")

        if hide(fx, window, failures, "held key"):
            # Held far longer than three polls, so a loaded machine still sees it down at three of them.
            keyboard.tap(1.5)
            expect_back(window, failures, "Pause held down")
        keyboard.close()

        grabber = Keyboard(fx.display)
        if hide(fx, window, failures, "keyboard grabbed"):
            if not grabber.grab():
                failures.append("could not grab the keyboard")
            for _ in range(3):
                grabber.tap(0.01)
            expect_back(window, failures, "three taps while another client grabs")
        grabber.close()
        if "Pause" in program.output():
            failures.append(f"the program complained about the Pause key: {program.output()}")
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
