"""The whole game played through with real input, in a documents folder of the test's own: Space past the
intro and the loading screen; "New Game", its story, and the guided tutorial followed to its end as its
letters ask: building and paving, a war won, a merchant's offer bought, a unit edited and one trained.
The kingdom the tutorial leaves is saved, the game quit from its menu and started again; "Load Game"
brings that kingdom back, its waves counting down, and a House is placed on it."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import run  # noqa: E402
from realgame import (Session, changed_share, expect, intro_to_menu, pause_to_main_menu,  # noqa: E402
                      play_on, save, stage, tap, tile_share)
from tutorial import begin_new_game, play_tutorial  # noqa: E402

PREFIX = "play-"
# What the tutorial leaves on its map, seen from the top view of a loaded game.
FARM = (10, 8)
HOUSE_BUILT = (10, 7)
CRACK = (11, 11)
HOUSE_ROAD = (10, 10)  # the road west of the Capital, still free
ROAD_SAMPLE = (10, 9)
GRASS_SAMPLE = (9, 8)


def test_play_through(binary):
    started = time.time()
    with Session(binary, PREFIX) as session:
        game, album, slot = session.game, session.album, session.slot
        stage(started, "intro and loading")
        menu = intro_to_menu(game, album)

        stage(started, "a new game and its tutorial")
        begin_new_game(game)
        play_tutorial(game)
        ended = album.look(game, "tutorial-ended")
        expect(changed_share(menu, ended) > 0.5, "the kingdom looks like the menu")
        expect(game.count("Initializing WarringState") == 1 and game.count("Game Over") == 0,
               "the tutorial's war was not fought and won")

        stage(started, "a save")
        saved = save(game, album, slot, "saved", False)
        tap(game, "Escape")
        game.wait_for("Unloading MainMenuState")
        pause_to_main_menu(game, album)
        game, loaded = session.quit_and_load(started, menu, "menu-again", saved)
        # The Farm, the House and the crack the tutorial left are neither road nor grass.
        for where in (FARM, HOUSE_BUILT, CRACK):
            for bare in (ROAD_SAMPLE, GRASS_SAMPLE):
                expect(tile_share(loaded, where, bare) > 0.5, "%r is bare on the loaded map" % (where,))
        expect(tile_share(loaded, HOUSE_ROAD, ROAD_SAMPLE) < 0.05, "the road west of the Capital is gone")

        stage(started, "play going on")
        play_on(game, album, loaded, HOUSE_ROAD)
        stage(started, "done")


if __name__ == "__main__":
    run([test_play_through])
