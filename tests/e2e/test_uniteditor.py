"""The unit editor on the kingdom harness, with the real editor behind its Unit tab (a Golem technology
in the "Tech" list, 5 tech points): the editor opens, the Golem is picked and shown, its Strength raised
with the "+" box and confirmed, the psychic stock paying 1; five points more are refused with an alert
mail and nothing paid. Esc brings the pause menu and back, where the "+" box still works; the Kingdom tab
leaves the editor."""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Failure, Game, run  # noqa: E402
from test_kingdom import ASSETS, SCREEN, click, expect, hud  # noqa: E402
from test_newgame import changed_share  # noqa: E402

UNIT_TAB = hud(7.0, -4.5)
KINGDOM_TAB = hud(7.0, -4.0)
LOG = hud(-4.0, -4.0)
TECH = hud(-0.75, -3.0)  # the first row of the "Tech" list
STATS_PAGE = hud(0.2, 3.25)
PLUS_STRENGTH = hud(5.77, 4.0)
CONFIRM = hud(3.5, -0.5)
AWAY = ("900", "200")


def box(pos, half_w, half_h):
    return (pos[0] - half_w, pos[1] - half_h, 2 * half_w, 2 * half_h)


PSYCHIC = box(hud(2.4, 5.25), 44, 12)  # the seventh resource counter
STRENGTH_NOW = box(hud(4.0, 4.0), 28, 12)
STRENGTH_NEW = box(hud(5.0, 4.0), 28, 12)
PREVIEW = box(hud(-3.0, 2.0), 64, 64)
POPUP = box(hud(0.0, 0.0), 300, 150)


def start(binary):
    harness = os.path.join(os.path.dirname(os.path.abspath(binary)), "kingdom_harness")
    if not os.path.exists(harness):
        raise Failure("no kingdom_harness beside " + binary)
    root = tempfile.mkdtemp(prefix="thornvale-uniteditor-")
    os.makedirs(os.path.join(root, "build"))
    copy = os.path.join(root, "build", "kingdom_harness")
    shutil.copy2(harness, copy)
    os.symlink(ASSETS, os.path.join(root, "Assets"))
    game = Game(copy, screen=SCREEN, env={"THORNVALE_HARNESS_UNIT_EDITOR": "1"})
    game.root = root
    game.wait_for("Initializing KingdomHarness", timeout=60.0)
    game.window_id(timeout=30.0)
    time.sleep(1.0)
    return game


def look(game, name):
    """A screenshot with the cursor out of the way, kept as uniteditor-<name>.png in the temporary folder."""
    game.xdotool("mousemove", *AWAY)
    game.settle(0.8)
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "uniteditor-" + name + ".png"))
    return path


def test_unit_editor(binary):
    game = start(binary)
    try:
        kingdom = look(game, "kingdom")
        click(game, UNIT_TAB)
        game.wait_for("Loading MainMenuState")
        game.wait_for("Initializing MainMenuState")
        click(game, LOG)  # the message window folds away from the unit page
        empty = look(game, "editor")
        expect(changed_share(kingdom, empty) > 0.3, "the editor looks like the kingdom")
        click(game, TECH)
        click(game, STATS_PAGE)
        picked = look(game, "picked")
        expect(changed_share(empty, picked, PREVIEW) > 0.1, "the picked unit is not shown")

        click(game, PLUS_STRENGTH)
        raised = look(game, "raised")
        expect(changed_share(picked, raised, STRENGTH_NEW) > 0.02, "the new Strength did not change")
        expect(changed_share(picked, raised, STRENGTH_NOW) < 0.01, "the unit changed before confirming")
        click(game, CONFIRM)
        game.wait_for("Tech points 4", timeout=10.0)
        confirmed = look(game, "confirmed")
        expect(changed_share(raised, confirmed, STRENGTH_NOW) > 0.02, "the unit did not take the new Strength")
        expect(changed_share(raised, confirmed, PSYCHIC) > 0.02, "the psychic counter did not pay")

        for _ in range(5):
            click(game, PLUS_STRENGTH)
        click(game, CONFIRM)
        game.wait_for("Tech points 4", timeout=10.0)
        refused = look(game, "refused")
        expect(changed_share(confirmed, refused, POPUP) > 0.02, "no alert mail for points not earned")
        expect(changed_share(confirmed, refused, STRENGTH_NOW) < 0.01, "a refused change reached the unit")

        game.key("Escape")
        game.wait_for("Initializing PauseMenuState")
        look(game, "pause-menu")
        game.key("Escape")
        game.wait_for("Unloading PauseMenuState")
        back = look(game, "back")
        click(game, PLUS_STRENGTH)
        again = look(game, "raised-again")
        expect(changed_share(back, again, STRENGTH_NEW) > 0.02, "the editor's boxes stopped after the pause menu")

        click(game, KINGDOM_TAB)
        game.wait_for("Cleanup MainMenuState")
        game.wait_for("Unloading MainMenuState")
        left = look(game, "left")
        expect(changed_share(again, left) > 0.3, "the kingdom did not come back")
        expect(game.count("Cannot find script by name") == 0, "a script that is not there was run")
    finally:
        game.close()
        shutil.rmtree(game.root, ignore_errors=True)


if __name__ == "__main__":
    run([test_unit_editor])
