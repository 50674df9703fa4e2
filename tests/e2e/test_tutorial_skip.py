"""The tutorial skipped in the real game: K on the kingdom screen of a new game gives the default
kingdom, whose road runs north of the Capital, takes the Skip Tutorial box away and hands the whole HUD
back, the resource counters with their pictures."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from realgame import SCREEN, expect, grass, hud, road  # noqa: E402
from tutorial import BUILD_BOX, build_row, click_box, pixels, read_letter, shot, start_new_game, tap  # noqa: E402


def expect_resource_pictures(path):
    """Each of the ten counters is a night-blue plate with its own picture at its right end, not the
    fallback "?" texture (ember in the middle) nor the dark grey of a disabled box."""
    icons = set()
    for k in range(10):
        x, y = hud(-7.2 + 1.6 * k, 5.25)
        plate = pixels(path, (x, y, 1, 1))[0]
        expect(plate[2] > plate[0] + 20, "resource counter %d shows %r, not the button sheet" % (k, plate))
        icon = pixels(path, (x + 28, y - 8, 16, 16))
        expect(max(sum(abs(a - b) for a, b in zip(p, plate)) for p in icon) > 100,
               "resource counter %d has no picture" % k)
        icons.add(tuple(icon))
    expect(len(icons) == 10, "the resource counters do not each show a picture of their own")


def lettered_rows(path, area):
    """How many rows of an area (x, y, w, h) hold the parchment of a label's letters."""
    x, y, w, h = area
    shown = pixels(path, area)
    return sum(1 for row in range(h)
               if any(r > 200 and g > 190 and b > 165 for r, g, b in shown[row * w:(row + 1) * w]))


def test_k_skips_onto_the_default_kingdom(binary):
    game = Game(binary, screen=SCREEN)
    try:
        start_new_game(game)
        tap(game, "c")
        before = shot(game, "skip-before")
        north = (576, 128)  # row 6, column 11 seen from above: grass on the tutorial map
        expect(grass(game.pixel(before, *north)), "the tutorial map has a road north of the Capital")
        skip_box = hud(-4.0, -3.25)
        # The box is 64 x 32 pixels on this screen: its label has to fill more than a thin line of it.
        expect(lettered_rows(before, (skip_box[0] - 30, skip_box[1] - 15, 60, 30)) >= 12,
               "the Skip Tutorial label is too small to read")
        tap(game, "k")
        read_letter(game)
        after = shot(game, "skip-after")
        expect(road(game.pixel(after, *north)), "the default kingdom's road north of the Capital is missing")
        expect(pixels(before, (skip_box[0] - 20, skip_box[1] - 8, 40, 16)) !=
               pixels(after, (skip_box[0] - 20, skip_box[1] - 8, 40, 16)), "the Skip Tutorial box stayed")
        expect_resource_pictures(after)
        # The whole HUD is the player's: the Build list opens at once (once the read letter, which still
        # takes clicks while it slides away, has gone).
        click_box(game, BUILD_BOX)
        game.settle(1.5)
        opened = shot(game, "skip-build")
        expect(pixels(after, (*build_row(2), 1, 1)) != pixels(opened, (*build_row(2), 1, 1)),
               "the Build list did not open")
        game.close_window(game.window_id())
        expect(game.wait_exit() == 0, "exit status is not 0")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_k_skips_onto_the_default_kingdom])
