"""A new game in the real game, as a player starts it: Space past the intro, "New Game" on the main
menu, Esc in the story, and the kingdom screen with the tutorial map (the Capital at row 10, column 11,
a road west of it). The Build menu's Farm places a farm on the road; the HUD's Pause box pauses the
realm; Esc and the pause menu's "Main Menu" return to the menu; a second new game starts on a fresh
tutorial map with the realm unpaused, so the same road tile takes a farm again."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402

SCREEN = "1024x768"  # 4:3, no side bars: 1.28 pixels per virtual unit, 64 per HUD unit
WIDTH, HEIGHT = 1024, 768
MENU_TIMEOUT = 60.0
HOLD = 0.4
ROAD = (10, 8)  # a road tile of the tutorial map, west of the Capital
# A farm costs 100 of the 500 in money that a new game begins with.


def expect(condition, message):
    if not condition:
        raise Failure(message)


def virtual(x, y):
    """The pixel of a point of a 800 x 600 GUI layout."""
    return (round(x * WIDTH / 800), round(y * HEIGHT / 600))


def hud(x, z):
    """The pixel of a point of the HUD plane (the GUI camera looks down on a 16 x 12 world)."""
    return (round(512 + x * 64), round(384 - z * 64))


def tile(row, col):
    """A tile's centre seen by the top-view camera of a new game (eye over column 10, row 10)."""
    return (round(512 + (col - 10) * 64), round(384 + (row - 10) * 64))


MENU_NEW_GAME = virtual(190, 216)
PAUSE_MAIN_MENU = virtual(400, 345)
BUILD_MENU = hud(-7.0, -5.0)
FARM = hud(-2.5, -5.0)
MENU_CHAIN = (358, 640)
PAUSE_BOX = (665, 640)
# The map right of the message frame and above the HUD; the menus opened in one game stay open.
MAP_VIEW = (380, 70, 540, 470)
PAUSE_LABEL = (630, 630, 80, 22)


def tap(game, key):
    game.xdotool("keydown", key)
    time.sleep(HOLD)
    game.xdotool("keyup", key)
    time.sleep(HOLD)


def click(game, pos):
    game.xdotool("mousemove", str(pos[0]), str(pos[1]))
    time.sleep(HOLD)
    game.xdotool("mousedown", "1")
    time.sleep(HOLD)
    game.xdotool("mouseup", "1")
    time.sleep(HOLD)


def shot(game, name):
    """A screenshot, kept in the temporary folder as newgame-<name>.png for a look."""
    game.settle(0.8)
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "newgame-" + name + ".png"))
    return path


def changed_share(a, b, box=(0, 0, WIDTH, HEIGHT)):
    """The share of pixels of a box (x, y, w, h) that differ noticeably between two screenshots."""
    x, y, w, h = box
    crop = "[%dx%d+%d+%d]" % (w, h, x, y)
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "6%", a + crop, b + crop, "null:"],
                            capture_output=True, text=True)
    return float(result.stderr.split()[0]) / (w * h)


def around(pos, half):
    return (pos[0] - half, pos[1] - half, 2 * half, 2 * half)


def grass(rgb):
    r, g, b = rgb
    return g > r + 20 and g > b + 20


def road(rgb):
    r, g, b = rgb
    return r > b + 40 and not grass(rgb)


def new_game(game, name):
    """From the main menu through the story onto the kingdom, seen from the top."""
    click(game, MENU_NEW_GAME)
    game.wait_for("Initializing StoryState")
    game.settle(1.0)
    tap(game, "Escape")
    game.wait_for("Unloading StoryState")
    game.settle(1.5)
    tap(game, "c")
    game.xdotool("mousemove", "900", "200")
    path = shot(game, name)
    # The tutorial map: grass, the road west of the Capital, and the road still bare.
    expect(grass(game.pixel(path, *tile(7, 9))), "no grass where the tutorial map has it")
    expect(road(game.pixel(path, *tile(9, 7))), "no road where the tutorial map has it")
    return path


def place_farm(game, name, open_build_menu):
    if open_build_menu:
        click(game, BUILD_MENU)
        time.sleep(1.5)
    click(game, FARM)
    click(game, tile(*ROAD))
    game.wait_for("Placed Farm at Tile - Building | (Row: %d, Col: %d)" % ROAD, timeout=10.0)
    game.xdotool("mousemove", "900", "200")
    return shot(game, name)


def test_new_game_from_the_main_menu(binary):
    game = Game(binary, screen=SCREEN)
    try:
        game.wait_for("Initializing IntroState")
        game.window_id()
        game.settle(0.8)
        tap(game, "space")
        game.wait_for("Initializing MainMenuState", timeout=MENU_TIMEOUT)
        menu = shot(game, "menu")

        bare = new_game(game, "kingdom")
        expect(changed_share(menu, bare) > 0.5, "the kingdom looks like the menu")
        farmed = place_farm(game, "farm", True)
        expect(changed_share(bare, farmed, around(tile(*ROAD), 24)) > 0.3, "the farm does not show")

        # The realm is paused from the HUD (its box then reads "Resume"), then left through the pause menu.
        click(game, MENU_CHAIN)
        time.sleep(1.5)
        game.xdotool("mousemove", "900", "200")
        chain = shot(game, "menu-chain")
        click(game, PAUSE_BOX)
        game.xdotool("mousemove", "900", "200")
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
        expect(changed_share(chain, fresh, PAUSE_LABEL) < 0.01, "the Pause box still reads Resume")
        # The HUD is built once a run: the Build list is still open.
        place_farm(game, "farm-again", False)

        game.close_window(game.window_id())
        expect(game.wait_exit() == 0, "exit status is not 0")
        expect(game.count("Cannot find script by name") == 0, "a script that is not there was run")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_new_game_from_the_main_menu])
