"""The tutorial skipped in the real game: K on the kingdom screen of a new game gives the default
kingdom, whose road runs north of the Capital, takes the Skip Tutorial box away and hands the whole HUD
back."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from test_tutorial import (BUILD_BOX, SCREEN, build_row, click_box, expect, grass, hud, pixels,  # noqa: E402
                           read_letter, road, shot, start_new_game, tap)


def test_k_skips_onto_the_default_kingdom(binary):
    game = Game(binary, screen=SCREEN)
    try:
        start_new_game(game)
        tap(game, "c")
        before = shot(game, "skip-before")
        north = (576, 128)  # row 6, column 11 seen from above: grass on the tutorial map
        expect(grass(game.pixel(before, *north)), "the tutorial map has a road north of the Capital")
        tap(game, "k")
        read_letter(game)
        after = shot(game, "skip-after")
        expect(road(game.pixel(after, *north)), "the default kingdom's road north of the Capital is missing")
        skip_box = hud(-4.0, -3.25)
        expect(pixels(before, (skip_box[0] - 20, skip_box[1] - 8, 40, 16)) !=
               pixels(after, (skip_box[0] - 20, skip_box[1] - 8, 40, 16)), "the Skip Tutorial box stayed")
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
