"""A new game in the real game, as a player starts it: Space past the intro, "New Game" on the main
menu, Esc in the story, and the kingdom screen with the tutorial map (the Capital at row 10, column 11,
a road west of it), whose tutorial K skips onto the default kingdom with the same road. The Build
menu's Farm places a farm on the road; the HUD's Pause box pauses the realm; Esc and the pause menu's "Main Menu" return to the menu; a second new game starts on a fresh
tutorial map with the realm unpaused and the HUD's menus folded as the first found them, so the same
road tile takes a farm again once the Build list is opened."""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, run  # noqa: E402
from realgame import (AWAY, FARM, PAUSE_MAIN_MENU, ROAD, SCREEN, around, changed_share, click,  # noqa: E402
                      expect, new_game, open_build_list, open_menu_chain, shot, tap, tile, to_main_menu)

PAUSE_BOX = (665, 640)
# The map right of the message frame and above the HUD.
MAP_VIEW = (380, 70, 540, 470)
PAUSE_LABEL = (630, 630, 80, 22)


def place_farm(game, name, open_build_menu):
    if open_build_menu:
        open_build_list(game)
    click(game, FARM)
    click(game, tile(*ROAD))
    game.wait_for("Placed Farm at Tile - Building | (Row: %d, Col: %d)" % ROAD, timeout=10.0)
    game.xdotool("mousemove", *AWAY)
    return shot(game, name)


def test_new_game_from_the_main_menu(binary):
    game = Game(binary, screen=SCREEN)
    try:
        to_main_menu(game)
        menu = shot(game, "menu")

        bare = new_game(game, "kingdom")
        expect(changed_share(menu, bare) > 0.5, "the kingdom looks like the menu")
        farmed = place_farm(game, "farm", True)
        expect(changed_share(bare, farmed, around(tile(*ROAD), 24)) > 0.3, "the farm does not show")

        # The realm is paused from the HUD (its box then reads "Resume"), then left through the pause menu.
        open_menu_chain(game)
        game.xdotool("mousemove", *AWAY)
        chain = shot(game, "menu-chain")
        click(game, PAUSE_BOX)
        game.xdotool("mousemove", *AWAY)
        paused = shot(game, "paused")
        expect(changed_share(chain, paused, PAUSE_LABEL) > 0.05, "the Pause box did not turn to Resume")
        tap(game, "Escape")
        game.wait_for("Initializing PauseMenuState")
        shot(game, "pause-menu")
        click(game, PAUSE_MAIN_MENU)
        game.wait_for("Unloading PauseMenuState")
        again = shot(game, "menu-again")
        expect(changed_share(menu, again) < 0.02, "the main menu did not come back")

        # A clean second game: the map as the first began, the box reads "Pause" and the HUD takes clicks.
        fresh = new_game(game, "kingdom-again")
        expect(changed_share(bare, fresh, MAP_VIEW) < 0.01, "the second game does not start as the first did")
        skipped = shot(game, "kingdom-again-skipped")
        expect(changed_share(chain, skipped, PAUSE_LABEL) > 0.05, "the Menu chain is still open from the last game")
        open_menu_chain(game)
        game.xdotool("mousemove", *AWAY)
        reopened = shot(game, "menu-chain-again")
        expect(changed_share(chain, reopened, PAUSE_LABEL) < 0.01, "the Pause box still reads Resume")
        # The Build list starts closed again: the first click opens it.
        place_farm(game, "farm-again", True)

        game.close_window(game.window_id())
        expect(game.wait_exit() == 0, "exit status is not 0")
        expect(game.count("Cannot find script by name") == 0, "a script that is not there was run")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_new_game_from_the_main_menu])
