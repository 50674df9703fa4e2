"""The waves in the real game: after a new game five waves are queued and the kingdom shows the next
one's countdown (the tutorial holds it still); on the save screen each right click brings the first wave
30 s closer, and back on the kingdom the wave is announced and the battle screen opens. A game loaded
from the battle's own save screen leaves the battle behind: the kingdom's Unit and War tabs work again.
Buildings on the four roads round the Capital: the last one, which would leave the invaders no way in, is
refused with a letter, and the war that follows has its gates."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from realgame import (COUNTDOWN, ENVELOPE, FARM, HOUSE, KINGDOM_TAB, LOAD_GAME, SAVE_GAME, SCREEN,  # noqa: E402
                      UNIT_TAB, changed_share, click, confirmed_click, expect, faults, hud, hurry_first_wave,
                      new_game, open_build_list, open_save_screen, place, shot, tap, to_main_menu)

WAR_TAB = hud(7.0, -5.0)
TOWER = hud(-1.5, -5.0)  # the Build list's third and fourth rows
BIOLAB = hud(-0.5, -5.0)


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


def test_load_over_the_battle(binary):
    documents = tempfile.mkdtemp(prefix="thornvale-documents-")
    slot = os.path.join(documents, "Thornvale Oriskar", "SaveData", "Data0") + "/"
    game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
    try:
        to_main_menu(game)
        new_game(game, "reload-kingdom")
        open_save_screen(game)
        click(game, SAVE_GAME)
        game.wait_for("Game saved to " + slot, timeout=10.0)
        tap(game, "Escape")
        game.wait_for("Unloading MainMenuState", timeout=10.0)
        game.settle(1.0)

        click(game, WAR_TAB)
        game.wait_for("Initializing WarringState", timeout=10.0)
        game.settle(1.0)
        open_save_screen(game, open_chain=False)
        click(game, LOAD_GAME)
        game.wait_for("Game loaded from " + slot, timeout=10.0)
        game.wait_for("Changed state", timeout=10.0)
        left = [line for line in game.lines if line in ("Cleanup WarringState", "Unloading WarringState")
                or line.startswith("Game loaded from")]
        expect(left == ["Cleanup WarringState", "Unloading WarringState", "Game loaded from " + slot],
               "the battle was not left before the game was loaded: %r" % left)
        game.settle(1.5)
        shot(game, "reload-kingdom-loaded")

        editors = game.count("Initializing MainMenuState")
        click(game, UNIT_TAB)
        game.wait_for("Loading MainMenuState", timeout=10.0)
        game.settle(1.0)
        expect(game.count("Initializing MainMenuState") == editors + 1, "the Unit tab did not open the editor")
        click(game, KINGDOM_TAB)
        game.wait_for("Unloading MainMenuState", timeout=10.0)
        game.settle(1.0)
        click(game, WAR_TAB)
        game.wait_for("Initializing WarringState", timeout=10.0)
        expect(game.count("Game Over") == 0, "the battle left by the load was lost")
        expect(not faults(game), "faults in the log: %r" % faults(game)[:3])
    finally:
        game.close()
        shutil.rmtree(documents, ignore_errors=True)


def test_the_last_road_to_the_capital_stays_open(binary):
    documents = tempfile.mkdtemp(prefix="thornvale-documents-")
    game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
    try:
        to_main_menu(game)
        new_game(game, "road-kingdom")
        open_build_list(game, HOUSE, press=confirmed_click)
        placed = "Placed %s at Tile - Building | (Row: %%d, Col: %%d)"
        place(game, HOUSE, (9, 11), placed % "House")
        place(game, FARM, (11, 11), placed % "Farm")
        place(game, TOWER, (10, 10), placed % "Barracks")
        before = shot(game, "road-three-built")
        place(game, BIOLAB, (10, 12), "Kept the way in open at Tile - Building | (Row: %d, Col: %d)")
        refused = shot(game, "road-refused")
        expect(game.count("Placed BioLab") == 0, "the last road to the Capital was built over")
        expect(changed_share(before, refused) > 0.02, "the refusal's letter does not show")
        click(game, ENVELOPE)
        game.settle(1.5)

        click(game, WAR_TAB)
        game.wait_for("Initializing WarringState", timeout=10.0)
        game.wait_for("Total gates: ", timeout=10.0)
        gates = [line for line in game.lines if line.startswith("Total gates: ")]
        expect(gates[-1] != "Total gates: 0", "the war has no gate with a way in")
        game.settle(1.0)
        shot(game, "road-battle")
        expect(not faults(game), "faults in the log: %r" % faults(game)[:3])
    finally:
        game.close()
        shutil.rmtree(documents, ignore_errors=True)


if __name__ == "__main__":
    run([test_waves_in_the_real_game, test_load_over_the_battle, test_the_last_road_to_the_capital_stays_open])
