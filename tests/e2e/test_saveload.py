"""Saving and loading under real input, in one documents folder of the test's own. On the kingdom
harness the Menu's Save box opens the save screen and "Save Game" writes the slot's three files; the
real game's main menu "Load Game" then lists that slot; a second harness run loads the slot (its money
edited in the file meanwhile) back onto the kingdom screen, where the Money counter shows it."""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from driver import Game, click, click_and_wait, expect, run, start_kingdom_harness, stop_harness, tap  # noqa: E402
from test_kingdom import SCREEN, hud  # noqa: E402

SLOT_FILES = ("armydata.xml", "mapdata.xml", "buildingdata.xml")
MENU_BOX = hud(-2.4, -4.0)
SAVE_BOX = hud(-2.4 + 5 * 1.25, -4.0)  # the Menu chain's sixth box
SAVE_GAME = hud(-1.2, -3.8)
LOAD_GAME = hud(-3.5, -3.8)
MONEY_COUNTER = (round(512 + (5.6 - 0.8) * 64), round(384 - (5.25 + 0.25) * 64), round(1.6 * 64), 32)
# The main menu's "Load Game" button (virtual 70, 252, 240 x 52) on a 4:3 screen of 1024 x 768.
MENU_LOAD_GAME = (round((70 + 120) * 1024 / 800), round((252 + 26) * 768 / 600))


def shot(game, name):
    """A screenshot, kept in the temporary folder as saveload-<name>.png for a look."""
    time.sleep(0.6)
    path = game.screenshot(name)
    shutil.copy(path, os.path.join(tempfile.gettempdir(), "saveload-" + name + ".png"))
    print("   screenshot " + path, flush=True)
    return path


def crop_differs(a, b, box):
    x, y, w, h = box
    geometry = "%dx%d+%d+%d" % (w, h, x, y)
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "6%", a + "[" + geometry + "]",
                             b + "[" + geometry + "]", "null:"], capture_output=True, text=True)
    return float(result.stderr.split()[0]) > 20


def greyed(game, path, box):
    """Whether a box shows its disabled look: grey where an enabled box is dark blue. Sampled right of
    and below its label."""
    x, y = box
    samples = [game.pixel(path, x + dx, y + 15) for dx in (30, 40, 50)]
    return all(b - r < 20 for r, _, b in samples)


def open_save_screen(game):
    """The Menu chain unfolded and, once its last box has come to rest, that Save box clicked."""
    click_and_wait(game, MENU_BOX, (SAVE_BOX[0] - 20, SAVE_BOX[1] - 20, 40, 40))
    click(game, SAVE_BOX)
    game.wait_for("Initializing SaveLoadState", timeout=10.0)
    game.wait_for("Box Stuff Changing ", timeout=10.0)


def test_save_then_load(binary):
    documents = tempfile.mkdtemp(prefix="thornvale-documents-Éloïse-")
    slot = os.path.join(documents, "Thornvale Oriskar", "SaveData", "Data0")
    try:
        game = start_kingdom_harness(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
        try:
            open_save_screen(game)
            screen = shot(game, "save-screen-new-data")
            expect(not greyed(game, screen, SAVE_GAME), "the save screen's Save Game is greyed")
            click(game, SAVE_GAME)
            game.wait_for("Game saved to " + slot + "/", timeout=10.0)
            shot(game, "save-screen-saved")
        finally:
            stop_harness(game)
        for name in SLOT_FILES:
            expect(os.path.isfile(os.path.join(slot, name)), name + " was not written")
        expect(not glob.glob(os.path.join(slot, "*.saving")) and not glob.glob(os.path.join(slot, ".*")),
               "staged files were left in the slot")
        army = os.path.join(slot, "armydata.xml")
        with open(army, encoding="utf-8") as f:
            text = f.read()
        expect("<Money>1000.000000</Money>" in text, "the saved money is not the realm's")
        with open(army, "w", encoding="utf-8") as f:
            f.write(re.sub(r"<Money>[^<]*</Money>", "<Money>4321.000000</Money>", text))

        # The real game: the main menu's "Load Game" lists the slot, with "Save Game" greyed.
        game = Game(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
        try:
            game.wait_for("Initializing IntroState")
            game.window_id()
            time.sleep(0.8)
            tap(game, "space")
            game.wait_for("Initializing MainMenuState", timeout=45.0)
            click(game, MENU_LOAD_GAME)
            game.wait_for("Initializing SaveLoadState", timeout=10.0)
            game.wait_for("Reading Save Folder", timeout=5.0)
            game.wait_for("Box Stuff Changing ", timeout=5.0)
            listed = shot(game, "main-menu-slot")
            expect(greyed(game, listed, SAVE_GAME), "the main menu's Save Game is not greyed")
            expect(not greyed(game, listed, LOAD_GAME), "the main menu's Load Game is greyed")
            tap(game, "Escape")
            game.wait_for("Unloading MainMenuState", timeout=10.0)
        finally:
            game.close()

        game = start_kingdom_harness(binary, screen=SCREEN, env={"XDG_DOCUMENTS_DIR": documents})
        try:
            before = shot(game, "kingdom-before-load")
            open_save_screen(game)
            click(game, LOAD_GAME)
            game.wait_for("Game loaded from " + slot + "/", timeout=10.0)
            time.sleep(1.5)
            after = shot(game, "kingdom-after-load")
            expect(crop_differs(before, after, MONEY_COUNTER), "the Money counter does not show the loaded money")
        finally:
            stop_harness(game)
    finally:
        shutil.rmtree(documents, ignore_errors=True)


if __name__ == "__main__":
    run([test_save_then_load])
