"""The game under a window manager (openbox): windowed from the options' "Full Screen" button, the window
has the manager's frame; destroyed by another client, the game ends as a closed window does."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, click, expect, run, start_openbox  # noqa: E402
from realgame import to_main_menu, virtual  # noqa: E402

MENU_OPTIONS = (190, 340)
FULL_SCREEN = (290, 333)


def frame_extents(game, window):
    """The frame's left, right, top and bottom widths the window manager gives the window, or None."""
    out = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], capture_output=True, text=True,
                         env=dict(os.environ, DISPLAY=game.display)).stdout
    if "=" not in out:
        return None
    return [int(v) for v in out.split("=")[1].split(",")]


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


if __name__ == "__main__":
    run([test_windowed_has_a_frame_and_outside_destruction_ends_cleanly])
