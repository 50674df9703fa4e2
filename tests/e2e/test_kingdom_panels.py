"""The unit editor's panels laid over the kingdom harness by its Unit tab: the mastery page opened from
"Show Masteries", a mastery chosen and bought with the mouse (its box's number changes), and a race page
whose lore text shows once the message window is hidden."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, click, expect, run, stop_harness  # noqa: E402
from test_kingdom import glyph_pixels, hud, shot, start  # noqa: E402


def region(game, path, left, top, right, bottom):
    """The raw pixels of a HUD-plane rectangle (x from left to right, z from top down to bottom)."""
    x0, y0 = hud(left, top)
    x1, y1 = hud(right, bottom)
    env = dict(os.environ, DISPLAY=game.display)
    return subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0), "rgb:-"],
                          capture_output=True, check=True, env=env).stdout


def test_kingdom_panels(binary):
    game = start(binary)
    try:
        click(game, hud(7.0, -4.5))  # the Unit tab
        game.wait_for("Unit editor panels shown", timeout=10.0)
        click(game, hud(-6.63, 3.5))  # "Show Masteries"
        game.wait_for("Panel mode 4, chosen mastery 0, mastery points 1", timeout=10.0)
        click(game, hud(-1.3, 2.2))  # BioMastery
        game.wait_for("Panel mode 4, chosen mastery 59, mastery points 1", timeout=10.0)
        time.sleep(1.0)
        page = shot(game, "mastery-page")
        # The foot of the label of "Increase Mastery Level", not hovered, over the top of the bottom bar's
        # right frame.
        expect(glyph_pixels(region(game, page, 2.4, -2.53, 5.4, -2.625)) > 100,
               "the frame hides \"Increase Mastery Level\"")
        game.xdotool("mousemove", *map(str, hud(4.0, -2.5)))
        time.sleep(1.0)
        chosen = shot(game, "mastery-chosen")
        click(game, hud(4.0, -2.5))  # "Increase Mastery Level"
        game.wait_for("Panel mode 4, chosen mastery 59, mastery points 0", timeout=10.0)
        time.sleep(1.0)
        bought = shot(game, "mastery-bought")
        box = (-1.5, 3.0, -0.5, 2.0)
        expect(region(game, chosen, *box) != region(game, bought, *box),
               "the BioMastery box shows the same number after the purchase")

        click(game, hud(-6.63, -1.0))  # "--Elves": the window of messages still covers the lore
        game.wait_for("Panel mode 5, chosen mastery 0, mastery points 0, message window shown", timeout=10.0)
        time.sleep(1.0)
        covered = shot(game, "race-covered")
        click(game, hud(-4.0, -4.0))  # "Log" hides the window
        game.wait_for("message window hidden", timeout=10.0)
        game.xdotool("mousemove", *map(str, hud(-6.63, -1.0)))
        time.sleep(1.0)
        lore = shot(game, "race-lore")
        text = (-1.5, 0.1, 2.0, -1.5)  # right of the window's frame: only the lore lines fall here
        expect(region(game, covered, *text) != region(game, lore, *text), "the race page shows no lore text")
    finally:
        stop_harness(game)


if __name__ == "__main__":
    run([test_kingdom_panels])
