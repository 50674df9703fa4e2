"""The game under a window manager (openbox): windowed from the options' "Full Screen" button, the window
has the manager's frame; destroyed by another client, the game ends as a closed window does. A manager
that never carries out the map request does not hold the game at its start."""

import ctypes
import ctypes.util
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, click, expect, run, start_openbox  # noqa: E402
from realgame import to_main_menu, virtual  # noqa: E402

MENU_OPTIONS = (190, 340)
FULL_SCREEN = (290, 333)
SUBSTRUCTURE_REDIRECT = 1 << 20


def frame_extents(game, window):
    """The frame's left, right, top and bottom widths the window manager gives the window, or None."""
    out = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], capture_output=True, text=True,
                         env=dict(os.environ, DISPLAY=game.display)).stdout
    if "=" not in out:
        return None
    return [int(v) for v in out.split("=")[1].split(",")]


class MapSwallower:
    """Takes the screen's map requests, as a window manager does, and carries none out."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise Failure("cannot open display " + display)
        self.x11.XSelectInput(self.dpy, self.x11.XDefaultRootWindow(self.dpy), SUBSTRUCTURE_REDIRECT)
        self.x11.XSync(self.dpy, 0)

    def terminate(self):
        if self.dpy:
            self.x11.XCloseDisplay(self.dpy)
            self.dpy = None

    def wait(self):
        pass


def test_windowed_has_a_frame_and_outside_destruction_ends_cleanly(binary):
    game = Game(binary, manager=start_openbox)
    try:
        to_main_menu(game)
        window = game.window_id()
        expect(not any(frame_extents(game, window) or []), "the full-screen window has a frame")
        click(game, virtual(*MENU_OPTIONS))
        game.wait_for("Initializing OptionsState")
        game.settle(0.5)
        click(game, virtual(*FULL_SCREEN))
        deadline = time.time() + 15.0
        while not any(frame_extents(game, window) or []):
            if time.time() > deadline:
                raise Failure("the windowed game has no frame: %r" % frame_extents(game, window))
            game.settle(0.3)

        game.xdotool("windowclose", window)
        expect(game.wait_exit() == 0, "exit status is not 0")
        expect(game.count("The window was destroyed") == 1, "no line for the destroyed window")
        errors = [line for line in game.lines if "X Error" in line]
        expect(errors == [], "X errors: %r" % errors)
    finally:
        game.close()


def test_a_map_never_carried_out_does_not_hold_the_start(binary):
    """With no manager named on the screen, SDL also gives the window, still not shown, the focus, which
    the server refuses: that ends no game either."""
    game = Game(binary, manager=MapSwallower)
    try:
        game.wait_for("Initializing IntroState")
        game.settle(0.5)
        game.proc.send_signal(signal.SIGTERM)
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_windowed_has_a_frame_and_outside_destruction_ends_cleanly,
         test_a_map_never_carried_out_does_not_hold_the_start])
