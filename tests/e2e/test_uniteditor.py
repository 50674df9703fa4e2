"""The unit editor in the real game: a new game with a TechLab on the road to earn tech points (the
psychic stock), the Unit tab, a merchant's offer bought as a technology and picked, five Strength points
too many refused with an alert mail, the change reset, one point raised with the "+" box and confirmed
once a point is earned: the unit takes it and the psychic counter pays. Esc brings the pause menu and
back, where the "+" box still works; the Kingdom tab leaves the editor."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, pixels, run  # noqa: E402
from realgame import (AWAY, BUY, CONFIRM, ENVELOPE, KINGDOM_TAB, PLUS_STRENGTH, PREVIEW,  # noqa: E402
                      PSYCHIC, RESET, ROAD, SCREEN, STATS_PAGE, STRENGTH_NEW, STRENGTH_NOW, TECH, TECHLAB,
                      UNIT_TAB, box, buy_an_offer, changed_share, click, expect, hud, new_game, open_build_list, shot,
                      tap, tile, to_main_menu)

# One TechLab earns a tech point in about 20 s of game time.
EARNING = 60.0
POPUP = box(hud(0.0, 0.0), 300, 150)
# The line of the help text at the top of the screen, from its first letter to its frame's rim and from
# its frame's rim to the last letter of the longest help text, that of "Buy From Merchant".
HELP_START = (5, 8, 36, 16)
HELP_END = (983, 8, 36, 16)


def rim_pixels(path, area):
    """How many pixels of an area show the gold of a frame's rim (the parchment of the glyphs is paler)."""
    return sum(1 for r, g, b in pixels(path, area) if r > 190 and g > 140 and r - b > 70)


def look(game, name):
    game.xdotool("mousemove", *AWAY)
    return shot(game, "unit-" + name)


def just_earned(game):
    """A picture taken just after a tech point came in: the next is some 20 s away, so that it cannot land
    between this picture and the next and hide a payment."""
    before = look(game, "waiting-0")
    deadline = time.time() + EARNING
    count = 0
    while time.time() < deadline:
        count += 1
        # Each picture its own file: a screenshot overwrites one of the same name.
        now = look(game, "waiting-%d" % (count % 2))
        if changed_share(before, now, PSYCHIC) > 0.01:
            return now
        before = now
    raise Failure("no tech point came in")


def test_unit_editor(binary):
    game = Game(binary, screen=SCREEN)
    try:
        to_main_menu(game)
        new_game(game, "kingdom")
        open_build_list(game, TECHLAB)
        click(game, TECHLAB)
        click(game, tile(*ROAD))
        game.wait_for("Placed TechLab at Tile - Building | (Row: %d, Col: %d)" % ROAD, timeout=10.0)
        kingdom = look(game, "kingdom-lab")

        click(game, UNIT_TAB)
        game.wait_for("Loading MainMenuState")
        game.wait_for("Initializing MainMenuState")
        empty = look(game, "editor")
        expect(changed_share(kingdom, empty) > 0.3, "the editor looks like the kingdom")
        game.xdotool("mousemove", *map(str, BUY))
        helped = shot(game, "unit-help")
        expect(changed_share(empty, helped, (0, 0, 1024, 32)) > 0.05, "no help text for \"Buy From Merchant\"")
        expect(rim_pixels(helped, HELP_START) < 10 and rim_pixels(helped, HELP_END) < 10,
               "the help text runs under its frame's rim")
        buy_an_offer(game, empty, look)
        click(game, TECH)
        click(game, STATS_PAGE)
        picked = look(game, "picked")
        expect(changed_share(empty, picked, PREVIEW) > 0.1, "the picked unit is not shown")

        for _ in range(5):
            click(game, PLUS_STRENGTH)
        raised = look(game, "raised")
        expect(changed_share(picked, raised, STRENGTH_NEW) > 0.02, "the new Strength did not change")
        expect(changed_share(picked, raised, STRENGTH_NOW) < 0.01, "the unit changed before confirming")
        click(game, CONFIRM)
        refused = look(game, "refused")
        expect(changed_share(raised, refused, POPUP) > 0.02, "no alert mail for points not earned")
        expect(changed_share(raised, refused, STRENGTH_NOW) < 0.01, "a refused change reached the unit")
        click(game, ENVELOPE)
        click(game, RESET)
        click(game, PLUS_STRENGTH)
        ready = just_earned(game)
        click(game, CONFIRM)
        confirmed = look(game, "confirmed")
        expect(changed_share(ready, confirmed, STRENGTH_NOW) > 0.02, "the unit did not take the new Strength")
        expect(changed_share(ready, confirmed, PSYCHIC) > 0.01, "the tech points did not pay")

        tap(game, "Escape")
        game.wait_for("Initializing PauseMenuState")
        look(game, "pause-menu")
        tap(game, "Escape")
        game.wait_for("Unloading PauseMenuState")
        back = look(game, "back")
        expect(changed_share(confirmed, back, PREVIEW) < 0.02, "the editor did not come back")
        click(game, PLUS_STRENGTH)
        again = look(game, "raised-again")
        expect(changed_share(back, again, STRENGTH_NEW) > 0.02, "the editor's boxes stopped after the pause menu")

        click(game, KINGDOM_TAB)
        game.wait_for("Cleanup MainMenuState")
        game.wait_for("Unloading MainMenuState")
        left = look(game, "left")
        expect(changed_share(back, left) > 0.3, "the kingdom did not come back")
        expect(game.count("Cannot find script by name") == 0, "a script that is not there was run")
    finally:
        game.close()


if __name__ == "__main__":
    run([test_unit_editor])
