"""The waves in the real game: after a new game five waves are queued and the kingdom shows the next
one's countdown (the tutorial holds it still); on the save screen each right click brings the first wave
30 s closer, and back on the kingdom the wave is announced and the battle screen opens."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from realgame import (COUNTDOWN, SCREEN, changed_share, expect, hurry_first_wave, new_game,  # noqa: E402
                      open_save_screen, shot, tap, to_main_menu)


def test_waves_in_the_real_game(binary):
    documents = tempfile.mkdtemp(prefix="thornvale-documents-")
    game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
    try:
        to_main_menu(game)
        menu = shot(game, "realm-menu")
        kingdom = new_game(game, "realm-kingdom")
        game.settle(1.0)
        counted = shot(game, "realm-countdown")
        expect(changed_share(menu, counted, COUNTDOWN) > 0.02, "no countdown shows on the kingdom")
        expect(changed_share(kingdom, counted, COUNTDOWN) < 0.01, "the tutorial's countdown moved")

        open_save_screen(game)
        hurry_first_wave(game, 12)  # a first wave comes 180 to 258 s after a new game
        expect(game.count("WarringState") == 0, "the war began before the kingdom came back")
        tap(game, "Escape")
        game.wait_for("Loading WarringState", timeout=10.0)
        game.wait_for("Initializing WarringState", timeout=10.0)
        game.settle(2.0)
        shot(game, "realm-battle")
        expect(game.count("Loading WarringState") == 1, "the battle was asked for more than once")
    finally:
        game.close()
        shutil.rmtree(documents, ignore_errors=True)


if __name__ == "__main__":
    run([test_waves_in_the_real_game])
