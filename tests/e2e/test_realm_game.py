"""The waves in the real game: after a new game five waves are queued and the kingdom shows the next
one's countdown (the tutorial holds it still); on the save screen each right click brings the first wave
30 s closer, and back on the kingdom the wave is announced and the battle screen opens."""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from test_newgame import MENU_CHAIN, SCREEN, changed_share, click, expect, hud, new_game, shot, tap  # noqa: E402

SAVE_BOX = hud(-2.4 + 5 * 1.25, -4.0)  # the Menu chain's sixth box
# "Next Enemy in : ..." and "Level : 0" at the top right of the kingdom.
COUNTDOWN = (hud(3.4, 5.0)[0], hud(3.4, 5.0)[1], 300, 40)


def test_waves_in_the_real_game(binary):
    documents = tempfile.mkdtemp(prefix="thornvale-documents-")
    game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
    try:
        game.wait_for("Initializing IntroState")
        game.window_id()
        game.settle(0.8)
        tap(game, "space")
        game.wait_for("Initializing MainMenuState", timeout=60.0)
        menu = shot(game, "realm-menu")
        kingdom = new_game(game, "realm-kingdom")
        game.settle(1.0)
        counted = shot(game, "realm-countdown")
        expect(changed_share(menu, counted, COUNTDOWN) > 0.02, "no countdown shows on the kingdom")
        expect(changed_share(kingdom, counted, COUNTDOWN) < 0.01, "the tutorial's countdown moved")

        click(game, MENU_CHAIN)
        time.sleep(1.5)
        click(game, SAVE_BOX)
        game.wait_for("Initializing SaveLoadState", timeout=10.0)
        game.xdotool("mousemove", *map(str, hud(0.0, 2.0)))
        for _ in range(12):  # a first wave comes 180 to 258 s after a new game
            game.xdotool("mousedown", "3")
            time.sleep(0.2)
            game.xdotool("mouseup", "3")
            time.sleep(0.2)
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
